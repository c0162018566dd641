#include "ProgramsPanel.h"

#include "PageButton.h"
#include "PageDialogs.h"
#include "ScriptsListWidget.h"
#include "following/FollowingSetting.h"
#include "following/ForegroundWatch.h"
#include "profiles/ProgramMatch.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Rows the list shows before it scrolls, so that the scenario list below keeps its room.
const int kVisibleRows = 3;

} // namespace

ProgramsPanel::ProgramsPanel(ScriptsListWidget& page, PageDialogs& dialogs)
    : m_page(page), m_dialogs(dialogs), m_title(new QLabel(this)), m_list(new QListWidget(this)),
      m_name(new QLineEdit(this)), m_add(namedButton(this, "programAddButton")),
      m_remove(namedButton(this, "programRemoveButton")),
      m_pick(namedButton(this, "programPickButton")), m_waiting(new QLabel(this)),
      m_cancel(namedButton(this, "programPickCancelButton")), m_follow(new QCheckBox(this))
{
    m_list->setObjectName(QStringLiteral("programList"));
    m_name->setObjectName(QStringLiteral("programNameEdit"));
    m_waiting->setObjectName(QStringLiteral("programPickLabel"));
    m_follow->setObjectName(QStringLiteral("followCheckBox"));
    m_name->setPlaceholderText(QStringLiteral("game.exe"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setMaximumHeight(m_list->frameWidth() * 2 +
                             kVisibleRows * m_list->fontMetrics().height() * 3 / 2);
    m_follow->setChecked(loadFollowingEnabled());

    auto* entry = new QHBoxLayout;
    entry->addWidget(m_name, 1);
    entry->addWidget(m_add);
    entry->addWidget(m_remove);
    entry->addWidget(m_pick);
    auto* waiting = new QHBoxLayout;
    waiting->addWidget(m_waiting, 1);
    waiting->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_follow);
    layout->addWidget(m_title);
    layout->addLayout(entry);
    layout->addLayout(waiting);
    layout->addWidget(m_list);

    connect(m_add, &QPushButton::clicked, this, [this] { add(m_name->text()); });
    connect(m_name, &QLineEdit::returnPressed, this, [this] { add(m_name->text()); });
    connect(m_remove, &QPushButton::clicked, this, &ProgramsPanel::removeSelected);
    connect(m_pick, &QPushButton::clicked, this, &ProgramsPanel::startPick);
    connect(m_cancel, &QPushButton::clicked, this, &ProgramsPanel::endPick);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &ProgramsPanel::updateControls);
    connect(m_follow, &QCheckBox::toggled, this, &ProgramsPanel::onFollowToggled);
    connect(&page.foregroundWatch(), &ForegroundWatch::programPicked, this,
            [this](const QString& name) {
                updateControls();
                add(name);
            });
    retranslate();
    showProfile();
}

void ProgramsPanel::showProfile()
{
    endPick();
    m_list->clear();
    if (const ScenarioProfile* profile = m_page.currentProfile())
        m_list->addItems(profile->programs);
    updateControls();
}

void ProgramsPanel::add(const QString& typedName)
{
    ScenarioProfile* profile = m_page.currentProfile();
    const QString name = typedName.trimmed();
    if (m_dialogs.busy() || !profile || name.isEmpty())
        return;
    const qsizetype owner = profileListingProgram(m_page.profiles(), name);
    if (owner >= 0 && &m_page.profiles()[owner] != profile) {
        m_dialogs.warn(tr("Программа \"%1\" уже указана в профиле \"%2\": программа может "
                          "относиться только к одному профилю.")
                           .arg(name, m_page.profiles()[owner].name));
        return;
    }
    m_name->clear();
    if (owner >= 0)
        return; // listed already
    profile->programs.append(name);
    m_page.saveProfiles();
    m_list->addItem(name);
    updateControls();
}

void ProgramsPanel::removeSelected()
{
    ScenarioProfile* profile = m_page.currentProfile();
    if (m_dialogs.busy() || !profile || m_list->selectedItems().isEmpty())
        return;
    for (const QListWidgetItem* item : m_list->selectedItems())
        profile->programs.removeAll(item->text());
    m_page.saveProfiles();
    showProfile();
}

void ProgramsPanel::startPick()
{
    if (m_dialogs.busy() || !m_page.currentProfile())
        return;
    m_page.foregroundWatch().pick(true);
    updateControls();
}

void ProgramsPanel::endPick()
{
    m_page.foregroundWatch().pick(false);
    updateControls();
}

void ProgramsPanel::onFollowToggled(bool enabled)
{
    saveFollowingEnabled(enabled);
    emit followingChanged(enabled);
}

void ProgramsPanel::updateControls()
{
    const bool hasProfile = m_page.currentProfile() != nullptr;
    for (QWidget* control : {static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_name),
                             static_cast<QWidget*>(m_add), static_cast<QWidget*>(m_pick)})
        control->setEnabled(hasProfile);
    m_remove->setEnabled(hasProfile && !m_list->selectedItems().isEmpty());
    const bool picking = m_page.foregroundWatch().picking();
    m_pick->setVisible(!picking);
    m_waiting->setVisible(picking);
    m_cancel->setVisible(picking);
}

void ProgramsPanel::retranslate()
{
    m_follow->setText(tr("Переключать профиль по активной программе"));
    m_title->setText(tr("Программы профиля: он становится текущим, пока одна из них активна"));
    m_add->setText(tr("Добавить"));
    m_remove->setText(tr("Удалить"));
    m_pick->setText(tr("Выбрать окно"));
    m_waiting->setText(tr("Переключитесь в нужную программу…"));
    m_cancel->setText(tr("Отмена"));
}

void ProgramsPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
