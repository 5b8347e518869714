#include "platform/desktop/picturedialog.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFileDialog>
#include <QTreeView>

namespace {

int fileListWidth(QFileDialog& dialog)
{
    dialog.show();
    QApplication::processEvents();
    const auto* list = dialog.findChild<QTreeView*>();
    return list ? list->width() : 0;
}

// The preview pane comes beside the file list, not out of its width.
TEST(PictureDialog, PreviewLeavesTheFileListItsWidth)
{
    QFileDialog plain(nullptr, QString(), QStringLiteral("."), QStringLiteral("Bitmaps (*.bmp)"));
    plain.setOption(QFileDialog::DontUseNativeDialog);
    PictureDialog picture(QStringLiteral("."));
    const int withoutPreview = fileListWidth(plain);
    EXPECT_GT(withoutPreview, 0);
    EXPECT_GE(fileListWidth(picture), withoutPreview);
}

} // namespace
