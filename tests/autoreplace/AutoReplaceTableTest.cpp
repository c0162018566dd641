#include "ProfileFiles.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "autoreplace/AutoReplacePanel.h"
#include "autoreplace/AutoReplaceTable.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/ThemeStyleSheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QTranslator>
#include <QVBoxLayout>

// The auto-replace table: filling and reading it, the edits it announces, its dialogs, its
// rows, and how it looks in each theme and language.
class AutoReplaceTableTest : public QObject
{
    Q_OBJECT

    QTranslator m_english;

    static QLineEdit* edit(const AutoReplaceTable& table, int row, int column)
    {
        return qobject_cast<QLineEdit*>(table.cellWidget(row, column));
    }
    static QToolButton* button(const AutoReplaceTable& table, int row, const char* name)
    {
        return table.cellWidget(row, 0)->findChild<QToolButton*>(name);
    }
    static QList<AutoReplaceRule> announced(const QSignalSpy& spy)
    {
        return spy.last().at(0).value<QList<AutoReplaceRule>>();
    }

private slots:
    void initTestCase() { registerEmbeddedFonts(); }
    void cleanup()
    {
        qApp->setStyleSheet(QString());
        IconManager::instance().setTheme("default");
        QCoreApplication::removeTranslator(&m_english);
    }

    void fillsSilentlyAndReadsTheRulesAsShown()
    {
        AutoReplaceTable table;
        QSignalSpy changed(&table, &AutoReplaceTable::rulesChanged);
        table.setRules({{"Скорость", "шаг", "speed", "10", "20"},
                        {"", " описание ", "", "1", "2"},
                        {"", "", "sens", "1.5", "2"},
                        {"", "без поиска", "", "", "3"},
                        {" a ", "", "", " 5 ", " 6 "}});
        QCOMPARE(table.rowCount(), 5);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(edit(table, 0, 1)->text(), "Скорость");
        QCOMPARE(edit(table, 0, 3)->text(), "20");

        const QList<AutoReplaceRule> expected = {{"Скорость", "шаг", "speed", "10", "20"},
                                                 {"описание", " описание ", "", "1", "2"},
                                                 {"sens", "", "sens", "1.5", "2"},
                                                 {"a", "", "", "5", "6"}};
        QCOMPARE(table.rules(), expected);

        QCOMPARE(button(table, 0, "autoReplaceParameterButton")->toolTip(), "speed");
        QCOMPARE(button(table, 1, "autoReplaceParameterButton")->toolTip(),
                 "Укажите параметр автозамены");
        QCOMPARE(button(table, 0, "autoReplaceDescriptionButton")->toolTip(),
                 "Посмотреть описание");
        QCOMPARE(button(table, 2, "autoReplaceDescriptionButton")->toolTip(),
                 "Посмотреть описание (не заполнено)");
    }

    void editsAndDialogsAnnounceChangedRules()
    {
        ScriptedPrompter prompter;
        AutoReplaceTable table;
        table.setRules({{"Скорость", "", "speed", "10", "20"}});
        QSignalSpy changed(&table, &AutoReplaceTable::rulesChanged);

        edit(table, 0, 3)->setText("30");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(announced(changed).at(0).toValue, "30");
        edit(table, 0, 3)->setText(" 30 "); // reads the same
        QCOMPARE(changed.count(), 1);

        prompter.queueValue(" velocity ");
        button(table, 0, "autoReplaceParameterButton")->click();
        QCOMPARE(prompter.prompts.last().kind, Prompt::Kind::TextInput);
        QCOMPARE(prompter.prompts.last().title, "Clavitor");
        QCOMPARE(prompter.prompts.last().text, "Укажите параметр");
        QCOMPARE(prompter.prompts.last().value, "speed");
        QCOMPARE(changed.count(), 2);
        QCOMPARE(announced(changed).at(0).parameter, "velocity");
        QCOMPARE(button(table, 0, "autoReplaceParameterButton")->toolTip(), "velocity");

        prompter.queueValue("строка 1\nстрока 2");
        button(table, 0, "autoReplaceDescriptionButton")->click();
        QCOMPARE(prompter.prompts.last().kind, Prompt::Kind::MultiLineTextInput);
        QCOMPARE(prompter.prompts.last().text, "Описание параметра «velocity»");
        QCOMPARE(changed.count(), 3);
        QCOMPARE(announced(changed).at(0).description, "строка 1\nстрока 2");
        QCOMPARE(button(table, 0, "autoReplaceDescriptionButton")->toolTip(),
                 "Посмотреть описание");

        prompter.queueCancel();
        button(table, 0, "autoReplaceParameterButton")->click();
        QCOMPARE(changed.count(), 3);
        QCOMPARE(table.rules().at(0).parameter, "velocity");
    }

    void removesTickedRowsAndAddsARowToTypeIn()
    {
        AutoReplacePanel panel;
        AutoReplaceTable& table = *panel.table();
        table.setRules({{"a", "", "", "1", "2"}, {"b", "", "", "3", "4"}, {"c", "", "", "5", "6"}});
        QSignalSpy changed(&table, &AutoReplaceTable::rulesChanged);
        panel.show();
        panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel));

        for (int row : {0, 2})
            table.cellWidget(row, 0)
                ->findChild<QCheckBox*>("autoReplaceRemoveCheckBox")
                ->setChecked(true);
        panel.findChild<QPushButton*>("autoReplaceRemoveButton")->click();
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(announced(changed), QList<AutoReplaceRule>({{"b", "", "", "3", "4"}}));

        panel.findChild<QPushButton*>("autoReplaceAddButton")->click();
        QCOMPARE(table.rowCount(), 2);
        QVERIFY(edit(table, 1, 1)->hasFocus());
        QCOMPARE(changed.count(), 1); // an empty row is no rule

        QSignalSpy apply(&panel, &AutoReplacePanel::applyRequested);
        panel.findChild<QPushButton*>("autoReplaceApplyButton")->click();
        QCOMPARE(apply.count(), 1);
    }

    // Rendered in the dark theme in Russian, then switched to English and the light theme.
    void keepsTheColumnWidthsTheUserGave()
    {
        AutoReplaceTable table;
        table.setRules({{"", "", "sens", "1", "2"}});
        table.setColumnWidth(0, 210);
        table.setColumnWidth(2, 300);
        table.setColumnWidth(3, 260);
        table.addRow();
        table.setRules(table.rules());
        QCOMPARE(QList<int>({table.columnWidth(0), table.columnWidth(2), table.columnWidth(3)}),
                 QList<int>({210, 300, 260}));
    }

    void looksAndReadsRightInEachThemeAndLanguage()
    {
        QFrame page; // the themed background of the tab it sits on
        auto* panel = new AutoReplacePanel(&page);
        auto* layout = new QVBoxLayout(&page);
        layout->setContentsMargins(16, 16, 16, 16);
        layout->addWidget(panel);
        AutoReplaceTable& table = *panel->table();
        table.setRules({{"Чувствительность", "Множитель прицела", "sens", "1.5", "2.0"},
                        {"Задержка", "", "delay", "25", "30"},
                        {"Клавиша", "", "", "PressKey(\"e\")", "PressKey(\"f\")"}});
        table.addRow();
        page.resize(760, 360);

        const auto render = [&](const QString& theme, const QString& file) {
            IconManager::instance().setTheme(theme);
            qApp->setStyleSheet(loadThemeStyleSheet(theme));
            const QImage image = page.grab().toImage();
            const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
            if (!directory.isEmpty())
                image.save(QDir(QString::fromLocal8Bit(directory)).filePath(file));
        };
        const auto headers = [&] {
            QStringList texts;
            for (int column = 0; column < table.columnCount(); ++column)
                texts << table.horizontalHeaderItem(column)->text();
            return texts;
        };

        render("default", "autoreplace-dark-ru.png");
        QCOMPARE(headers(), QStringList({"Действия", "Имя", "Было", "Станет"}));
        QCOMPARE(table.rowHeight(0), 44);
        QVERIFY(!table.verticalHeader()->isVisible());
        QVERIFY(table.columnWidth(0) >= 148);
        QVERIFY(table.columnWidth(2) >= 130 && table.columnWidth(3) >= 130);
        QCOMPARE(table.horizontalHeader()->sectionResizeMode(1), QHeaderView::Stretch);

        // Only the program's catalogue, so that the toolkit's texts stay as the other tests
        // expect them; installing it posts the language-change event to every window.
        QVERIFY(m_english.load(":/i18n/clavitor_en.qm"));
        QVERIFY(QCoreApplication::installTranslator(&m_english));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        render("light", "autoreplace-light-en.png");
        QCOMPARE(headers(), QStringList({"Actions", "Name", "Old value", "New value"}));
        QCOMPARE(edit(table, 3, 2)->placeholderText(), "Old value");
        QCOMPARE(button(table, 1, "autoReplaceParameterButton")->toolTip(), "delay");
        QCOMPARE(button(table, 2, "autoReplaceParameterButton")->toolTip(),
                 "Specify the auto-replace parameter");
        QCOMPARE(button(table, 1, "autoReplaceDescriptionButton")->toolTip(),
                 "View the description (not filled in)");
        QCOMPARE(panel->findChild<QPushButton*>("autoReplaceApplyButton")->text(), "Replace");
        QCOMPARE(panel->findChild<QLabel*>()->text(),
                 "Auto-replace applied to all scripts in the selected profile.");
    }
};

CLAVITOR_TEST(AutoReplaceTableTest);
#include "AutoReplaceTableTest.moc"
