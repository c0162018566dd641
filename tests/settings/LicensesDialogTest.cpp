#include "TestRegistry.h"

#include "settings/LicensesDialog.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

namespace {

QString contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class LicensesDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void showsEachNoticeWhenSelected_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("resource");
        const QDir root(QStringLiteral(CLAVITOR_SOURCE_DIR));
        QTest::newRow("LICENSE") << root.filePath("LICENSE") << ":/LICENSE";
        const QDir notices(root.filePath("licenses"));
        for (const QString& file : notices.entryList(QDir::Files)) {
            QTest::newRow(qPrintable(file))
                << notices.filePath(file) << QStringLiteral(":/licenses/") + file;
        }
    }

    void showsEachNoticeWhenSelected()
    {
        QFETCH(QString, source);
        QFETCH(QString, resource);
        LicensesDialog dialog;
        auto* components = dialog.findChild<QListWidget*>("componentList");
        QListWidgetItem* item = nullptr;
        for (int row = 0; row < components->count() && !item; ++row) {
            if (components->item(row)->data(Qt::UserRole).toString() == resource)
                item = components->item(row);
        }
        QVERIFY2(item, qPrintable(resource + " is not listed"));
        components->setCurrentItem(item);
        const QString expected = contents(source);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(dialog.findChild<QPlainTextEdit*>("licenceText")->toPlainText(), expected);
    }

    void openedOverAPageIsGoneOnceClosed()
    {
        QWidget page;
        LicensesDialog::openOver(&page);
        QPointer<LicensesDialog> dialog = page.findChild<LicensesDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        dialog->close();
        QTRY_VERIFY(dialog.isNull());
    }
};

CLAVITOR_TEST(LicensesDialogTest);
#include "LicensesDialogTest.moc"
