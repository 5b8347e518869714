#pragma once

#include <QString>

// Short notices that need no answer and wait for nobody, for a user who may not be watching:
// what a print run did. They show in the desktop's notifications where it has them.
class Notifier {
public:
    virtual ~Notifier() = default;
    // Whether a notice sent now reaches the desktop this way.
    virtual bool reachable() const { return true; }
    // `failed`: the notice reports an error.
    virtual void notify(const QString& text, bool failed) = 0;
};
