#pragma once

#include <QImage>

class QIODevice;

enum class LogoRead {
    Whole,       // the picture, every pixel of it
    CutShort,    // the file ends before the picture does, or its data breaks off
    NotAPicture, // no picture format knows it
};

// Reads the logo from `file` into `logo`; it stays null unless the whole picture was read. A file
// cut short must not print: the readers fill the missing rows with black.
LogoRead readLogo(QIODevice& file, QImage& logo);
