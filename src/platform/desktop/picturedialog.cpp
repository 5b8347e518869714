#include "platform/desktop/picturedialog.h"

#include <algorithm>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>

namespace {

constexpr int kPreviewSide = 160;

} // namespace

PictureDialog::PictureDialog(const QString& initialPath, QWidget* parent)
    : QFileDialog(parent, QString(), initialPath, QStringLiteral("Bitmaps (*.bmp)"))
{
    // The preview pane needs Qt's own dialog: a native one cannot be extended.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);
    setDefaultSuffix(QStringLiteral("bmp"));

    m_preview = new QLabel(this);
    m_preview->setFixedSize(kPreviewSide, kPreviewSide);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(m_preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);
        // The dialog grows by the pane, so that the file list keeps its width and columns.
        resize(width() + kPreviewSide + std::max(0, grid->horizontalSpacing()), height());
    }
    connect(this, &QFileDialog::currentChanged, this, &PictureDialog::showPreview);
}

void PictureDialog::showPreview(const QString& path)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        m_preview->clear();
        return;
    }
    m_preview->setPixmap(QPixmap::fromImage(
        image.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
