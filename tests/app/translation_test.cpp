#include "app/translation.h"

#include <gtest/gtest.h>
#include <memory>
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

namespace {

const QString polishCatalogue =
    QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_pl.qm");

TEST(PolishTranslation, StandardButtonsReadPolish)
{
    if (!QFileInfo::exists(polishCatalogue))
        GTEST_SKIP() << polishCatalogue.toStdString() << " is not installed";
    // Deleting the translator takes the translation off again for the other tests.
    std::unique_ptr<QTranslator> translator(installPolishTranslation(*qApp));
    ASSERT_NE(translator, nullptr);

    QMessageBox box(QMessageBox::Question, QStringLiteral("Tytuł"), QStringLiteral("Pytanie"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Tak"));
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(u'&'), QStringLiteral("Nie"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("Anuluj"));
}

} // namespace
