#pragma once

#include <QFileDialog>

class QLabel;

// A file dialog for Windows bitmaps with a preview pane beside the file list.
class PictureDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit PictureDialog(const QString& initialPath, QWidget* parent = nullptr);

private:
    void showPreview(const QString& path);

    QLabel* m_preview = nullptr;
};
