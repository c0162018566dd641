#include "TestRegistry.h"

#include "ui/widgets/ModifierDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

namespace {

// The dialog's texts in English, as the catalogue holds them.
class EnglishDialog : public QTranslator
{
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        static const QHash<QString, QString> english = {
            {"Настройка модификатора", "Modifier configuration"},
            {"Рандомизация", "Randomization"},
            {"нет", "None"},
            {"немного", "Slightly"},
            {"средне", "Moderately"},
            {"сильно", "High"}};
        return qstrcmp(context, "ModifierDialog") == 0 ? english.value(source) : QString();
    }
    bool isEmpty() const override { return false; }
};

QComboBox* levels(const ModifierDialog& dialog)
{
    return dialog.findChild<QComboBox*>("randomCombo");
}

QStringList levelNames(const ModifierDialog& dialog)
{
    QStringList names;
    for (int i = 0; i < levels(dialog)->count(); ++i)
        names.append(levels(dialog)->itemText(i));
    return names;
}

} // namespace

class ModifierDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void valuesShownAndReturnedUnchangedOnAccept()
    {
        ModifierDialog dialog;
        dialog.setModifiers({1.5, 1.0, 1.0, 2});
        QCOMPARE(dialog.findChild<QDoubleSpinBox*>("xySpin")->text(), "1.50");
        QCOMPARE(levels(dialog)->currentText(), "средне");
        QCOMPARE(levelNames(dialog), (QStringList{"нет", "немного", "средне", "сильно"}));

        dialog.show();
        dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.modifiers(), (MovementModifiers{1.5, 1.0, 1.0, 2}));
    }

    void factorsAreShownExactlyAndKeptUnlessEdited()
    {
        ModifierDialog dialog;
        dialog.setModifiers({0.125, -10.5, -0.25, 0});
        QCOMPARE(dialog.findChild<QDoubleSpinBox*>("xySpin")->text(), "0.125");
        QCOMPARE(dialog.findChild<QDoubleSpinBox*>("xSpin")->text(), "-10.00"); // its range
        // Untouched factors come back as they were set, edited ones as edited.
        dialog.findChild<QDoubleSpinBox*>("ySpin")->stepUp();
        QCOMPARE(dialog.modifiers(), (MovementModifiers{0.125, -10.5, -0.15, 0}));
        dialog.findChild<QDoubleSpinBox*>("xSpin")->stepUp();
        QCOMPARE(dialog.modifiers().x, -9.9);
    }

    void levelWithoutAnItemLeavesTheSelection()
    {
        ModifierDialog dialog;
        dialog.setModifiers({1.0, 1.0, 1.0, 3});
        dialog.setModifiers({2.0, 1.0, 1.0, 4});
        QCOMPARE(dialog.modifiers(), (MovementModifiers{2.0, 1.0, 1.0, 3}));
        dialog.setModifiers({2.0, 1.0, 1.0, -1});
        QCOMPARE(dialog.modifiers().rand, 3);
    }

    void languageSwitchWhileOpenKeepsTheLevel()
    {
        ModifierDialog dialog;
        dialog.setModifiers({1.0, 1.0, 1.0, 1});
        dialog.show();
        int selectionChanges = 0;
        connect(levels(dialog), &QComboBox::currentIndexChanged, [&] { ++selectionChanges; });

        EnglishDialog english;
        QVERIFY(QCoreApplication::installTranslator(&english));
        QCoreApplication::processEvents();
        QCOMPARE(dialog.windowTitle(), "Modifier configuration");
        QCOMPARE(dialog.findChild<QLabel*>("labelRand")->text(), "Randomization");
        QCOMPARE(levelNames(dialog), (QStringList{"None", "Slightly", "Moderately", "High"}));
        QCOMPARE(dialog.modifiers().rand, 1);

        QVERIFY(QCoreApplication::removeTranslator(&english));
        QCoreApplication::processEvents();
        QCOMPARE(levels(dialog)->currentText(), "немного");
        QCOMPARE(selectionChanges, 0);
    }
};

CLAVITOR_TEST(ModifierDialogTest);
#include "ModifierDialogTest.moc"
