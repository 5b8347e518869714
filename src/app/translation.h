#pragma once

class QCoreApplication;
class QTranslator;

// Installs Qt's Polish translation where it is installed, so that standard buttons read
// "Tak"/"Nie"/"Anuluj". Returns the installed translator, owned by `app`, or nullptr when the
// translation is missing.
QTranslator* installPolishTranslation(QCoreApplication& app);
