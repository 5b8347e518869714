#pragma once

#include "labels/settings.h"

#include <QStringList>

class ProfileFile;

// The label stock in the settings file, section [Arkusz Naklejek]: maker and part, the lengths in
// hundredths of a millimetre, the grid and the paper. The sheet's whole-millimetre keys beside it
// hold the stock's nearest values, so a copy that reads only those places the labels as closely
// as whole millimetres allow.

// Makes `stock` the settings' stock, its nearest whole millimetres and its grid the sheet's.
void useStock(Settings& settings, const LabelStock& stock);

// The stock in the file, when it holds a whole one that the sheet's settings `read` from it
// agree with. A stock that is dropped (incomplete, or the sheet changed without it) is named in
// a warning, and the whole millimetres rule.
std::optional<LabelStock> readStock(const ProfileFile& file, const Settings& read,
                                    QStringList& warnings);

// Writes the stock; without one, a stock the file holds is cleared.
void writeStock(ProfileFile& file, const std::optional<LabelStock>& stock);
