#include "LogCapture.h"
#include "TestRegistry.h"

#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/ThemeStyleSheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace {

QPushButton* button(const QString& text, const char* style = nullptr)
{
    auto* result = new QPushButton(text);
    if (style)
        result->setProperty("buttonStyle", QString::fromLatin1(style));
    return result;
}

QPushButton* sidebarButton(const QString& icon, bool current = false)
{
    QPushButton* result = button({}, "ghost");
    result->setFixedSize(40, 40);
    result->setIconSize(QSize(20, 20));
    result->setProperty("IsCurrent", current);
    IconManager::instance().setIcon(result, icon);
    return result;
}

// A page as the program's pages are built: a window frame with the sidebar, a title, a card
// of controls, tabs with item views, and a menu and a message box laid into the page.
class SampleForm : public QWidget
{
public:
    QFrame* windowFrame = new QFrame;
    QFrame* card = new QFrame;
    QPushButton* currentPage = nullptr;
    QPushButton* destructive = nullptr;

    SampleForm()
    {
        resize(1000, 640);
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->addWidget(windowFrame);
        windowFrame->setObjectName("windowFrame");
        auto* frameLayout = new QHBoxLayout(windowFrame);
        frameLayout->setContentsMargins(12, 12, 12, 12);
        frameLayout->setSpacing(12);

        auto* sidebar = new QFrame;
        sidebar->setObjectName("sidebarFrame");
        auto* sideLayout = new QVBoxLayout(sidebar);
        sideLayout->setContentsMargins(6, 8, 6, 8);
        auto* logo = new QToolButton;
        logo->setProperty("buttonStyle", "ghostIcon");
        logo->setIconSize(QSize(28, 28));
        IconManager::instance().setIcon(logo, "clvLogoCrop");
        sideLayout->addWidget(logo, 0, Qt::AlignHCenter);
        currentPage = sidebarButton("home-3-fill", true);
        sideLayout->addWidget(currentPage);
        for (const char* icon : {"file-code-line", "cursor-fill", "settings-3-fill"})
            sideLayout->addWidget(sidebarButton(icon));
        sideLayout->addStretch();
        QPushButton* language = button({}, "ghost");
        language->setFixedSize(40, 40);
        language->setIcon(QIcon(":/icons/usa.png"));
        sideLayout->addWidget(language);
        sideLayout->addWidget(sidebarButton("sun-line"));
        frameLayout->addWidget(sidebar);

        auto* content = new QVBoxLayout;
        content->setSpacing(8);
        auto* title = new QLabel("Оформление");
        title->setObjectName("pageTitle");
        auto* description = new QLabel("Все элементы управления в текущей теме");
        description->setObjectName("pageDescription");
        content->addWidget(title);
        content->addWidget(description);
        content->addWidget(buildCard());
        content->addLayout(buildLowerRow(), 1);
        frameLayout->addLayout(content, 1);
    }

private:
    QFrame* buildCard()
    {
        card->setProperty("element", "inner");
        auto* grid = new QGridLayout(card);
        grid->setContentsMargins(16, 16, 16, 16);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(10);

        auto* styles = new QHBoxLayout;
        styles->addWidget(button("Сохранить"));
        styles->addWidget(button("Отмена", "secondary"));
        styles->addWidget(button("Импорт", "outline"));
        styles->addWidget(button("Подробнее", "ghost"));
        destructive = button("Удалить", "destructive");
        styles->addWidget(destructive);
        styles->addWidget(button("Сбросить", "destructiveSecondary"));
        styles->addWidget(button("Очистить", "destructiveOutline"));
        auto* close = new QToolButton;
        close->setProperty("buttonStyle", "destructiveGhost");
        IconManager::instance().setIcon(close, "close-line");
        styles->addWidget(close);
        QPushButton* add = button({}, "icon");
        IconManager::instance().setIcon(add, "add-line");
        styles->addWidget(add);
        styles->addStretch();
        grid->addLayout(styles, 0, 0, 1, 2);

        auto* sizes = new QHBoxLayout;
        QPushButton* small = button("Маленькая", "secondary");
        small->setProperty("size", "sm");
        QPushButton* large = button("Большая");
        large->setProperty("size", "lg");
        QPushButton* round = button("Круглая", "outline");
        round->setProperty("round", "full");
        QPushButton* enable = button("Выключить");
        enable->setObjectName("enableButton");
        enable->setCheckable(true);
        enable->setChecked(true);
        QPushButton* disabled = button("Недоступна");
        disabled->setEnabled(false);
        for (QWidget* w : {static_cast<QWidget*>(small), static_cast<QWidget*>(large),
                           static_cast<QWidget*>(round), static_cast<QWidget*>(enable),
                           static_cast<QWidget*>(disabled)})
            sizes->addWidget(w);
        auto* tools = new QToolButton;
        IconManager::instance().setIcon(tools, "folder-add-line");
        sizes->addWidget(tools);
        sizes->addStretch();
        grid->addLayout(sizes, 1, 0, 1, 2);

        auto* inputs = new QHBoxLayout;
        auto* plain = new QLineEdit;
        plain->setPlaceholderText("Название профиля");
        auto* underline = new QLineEdit("Alt+X");
        underline->setProperty("inputStyle", "underline");
        auto* ghost = new QLineEdit("Скрытое поле");
        ghost->setProperty("inputStyle", "ghost");
        auto* spin = new QSpinBox;
        spin->setValue(25);
        auto* factor = new QDoubleSpinBox;
        factor->setValue(1.5);
        auto* combo = new QComboBox;
        combo->addItems({"default", "Игровой", "Рабочий"});
        auto* editable = new QComboBox;
        editable->setEditable(true);
        editable->addItems({"1.0", "1.5"});
        for (QWidget* w : {static_cast<QWidget*>(plain), static_cast<QWidget*>(underline),
                           static_cast<QWidget*>(ghost), static_cast<QWidget*>(spin),
                           static_cast<QWidget*>(factor), static_cast<QWidget*>(combo),
                           static_cast<QWidget*>(editable)})
            inputs->addWidget(w);
        grid->addLayout(inputs, 2, 0, 1, 2);

        auto* choices = new QHBoxLayout;
        choices->setSpacing(14);
        auto* checked = new QCheckBox("Звук переключения");
        checked->setChecked(true);
        choices->addWidget(checked);
        choices->addWidget(new QCheckBox("Озвучивать сценарий"));
        auto* api = new QRadioButton("Системный API");
        api->setChecked(true);
        choices->addWidget(api);
        choices->addWidget(new QRadioButton("Драйвер"));
        const QList<std::pair<const char*, QString>> tones = {
            {"warning", "Внимание"}, {"success", "Готово"}, {"error", "Ошибка"}};
        for (const auto& [tone, text] : tones) {
            auto* label = new QLabel(text);
            label->setProperty("tone", tone);
            choices->addWidget(label);
        }
        choices->addStretch();
        grid->addLayout(choices, 3, 0, 1, 2);
        return card;
    }

    QHBoxLayout* buildLowerRow()
    {
        auto* row = new QHBoxLayout;
        auto* tabs = new QTabWidget;
        auto* table = new QTableWidget(8, 3);
        table->setHorizontalHeaderLabels({"Сценарий", "Горячая клавиша", "Режим"});
        table->horizontalHeader()->setStretchLastSection(true);
        table->setColumnWidth(0, 170);
        table->setColumnWidth(1, 150);
        table->verticalHeader()->hide();
        for (int r = 0; r < 8; ++r) {
            table->setItem(r, 0, new QTableWidgetItem(QString("scenario_%1.lua").arg(r + 1)));
            table->setItem(r, 1, new QTableWidgetItem(QString("Alt+%1").arg(r + 1)));
            table->setItem(r, 2, new QTableWidgetItem(r % 2 ? "Драйвер" : "API"));
        }
        table->selectRow(1);
        tabs->addTab(table, "Сценарии");
        auto* list = new QListWidget;
        list->addItems({"default", "Игровой", "Рабочий"});
        list->setCurrentRow(0);
        tabs->addTab(list, "Профили");
        tabs->addTab(new QWidget, "Описание");
        row->addWidget(tabs, 3);

        auto* side = new QVBoxLayout;
        auto* group = new QGroupBox("Оверлей");
        auto* form = new QFormLayout(group);
        auto* opacity = new QSlider(Qt::Horizontal);
        opacity->setRange(0, 255);
        opacity->setValue(200);
        form->addRow("Прозрачность", opacity);
        side->addWidget(group);
        auto* line = new QFrame;
        line->setFrameShape(QFrame::HLine);
        side->addWidget(line);

        auto* menu = new QMenu;
        menu->setWindowFlags(Qt::Widget);
        IconManager::instance().setIcon(menu->addAction("Открыть папку"), "folder-settings-line");
        menu->addAction("Экспорт")->setCheckable(true);
        menu->addSeparator();
        menu->addAction("Закрыть")->setEnabled(false);
        side->addWidget(menu);

        auto* box = new QMessageBox(QMessageBox::Question, "Clavitor", "Удалить профиль?",
                                    QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setWindowFlags(Qt::Widget);
        side->addWidget(box);
        side->addStretch();
        row->addLayout(side, 2);
        return row;
    }
};

QColor pixelOf(const QImage& image, const QWidget* form, const QWidget* widget, QPoint at)
{
    return image.pixelColor(widget->mapTo(form, at));
}

} // namespace

class ThemeStyleSheetTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerEmbeddedFonts(); }
    void cleanup()
    {
        qApp->setStyleSheet({});
        IconManager::instance().setTheme("default");
    }

    void loadsTheStylesheetOfTheTheme()
    {
        const QString dark = loadThemeStyleSheet("default");
        const QString light = loadThemeStyleSheet(":/css/Light.css");
        QVERIFY(dark.startsWith("/* Colour tokens of the \"default\" theme."));
        QVERIFY(light.startsWith("/* Colour tokens of the \"light\" theme."));
        QCOMPARE(loadThemeStyleSheet("blue"), dark);
        QCOMPARE(loadThemeStyleSheet(""), dark);
        QVERIFY(!dark.contains('@') && !light.contains('@'));
    }

    void paintsTheFormInTheThemesColours_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("card");
        QTest::newRow("dark") << "default" << QColor(23, 23, 23) << QColor(38, 38, 38);
        QTest::newRow("light") << "light" << QColor(247, 247, 250) << QColor(255, 255, 255);
    }
    void paintsTheFormInTheThemesColours()
    {
        QFETCH(QString, theme);
        QFETCH(QColor, background);
        QFETCH(QColor, card);

        auto capture = std::make_unique<LogCapture>();
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));
        SampleForm form;
        const QImage image = form.grab().toImage();
        // Qt reports a stylesheet it cannot parse as a warning that names the stylesheet.
        const QStringList complaints = capture->lines.filter("stylesheet", Qt::CaseInsensitive);
        capture.reset();
        QVERIFY2(complaints.isEmpty(), qPrintable(complaints.join('\n')));

        const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
        if (!directory.isEmpty())
            image.save(QDir(QString::fromLocal8Bit(directory)).filePath(theme + ".png"));

        const QColor primary(169, 155, 242);
        const QColor destructive(239, 68, 68);
        QCOMPARE(pixelOf(image, &form, form.windowFrame,
                         {form.windowFrame->width() - 5, form.windowFrame->height() / 2}),
                 background);
        QCOMPARE(pixelOf(image, &form, form.card, {6, form.card->height() / 2}), card);
        QCOMPARE(pixelOf(image, &form, form.currentPage, {form.currentPage->width() / 2, 3}),
                 primary);
        QCOMPARE(pixelOf(image, &form, form.destructive, {form.destructive->width() / 2, 3}),
                 destructive);
    }
};

CLAVITOR_TEST(ThemeStyleSheetTest);
#include "ThemeStyleSheetTest.moc"
