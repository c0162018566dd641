#include "LogPage.h"

#include "BottomFollower.h"
#include "LogFilterModel.h"
#include "LogModel.h"
#include "log/LogKinds.h"
#include "log/LogLineFormat.h"
#include "ui/prompts/Prompter.h"
#include "ui_LogPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QSaveFile>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr int kKindColumns = 5; // the kinds' check boxes, in rows of this many

// The top-level row of an index of the view: a traceback row stands for its line.
QModelIndex lineOf(const QModelIndex& index)
{
    return index.parent().isValid() ? index.parent() : index;
}

} // namespace

LogPage::LogPage(QWidget* parent, LogJournal& journal)
    : QWidget(parent), ui(new Ui::LogPage), m_journal(journal),
      m_model(new LogModel(journal, this)), m_filter(new LogFilterModel(*m_model, this))
{
    ui->setupUi(this);
    new BottomFollower(*ui->logView, *m_filter); // owned by the view
    ui->logView->setModel(m_filter);
    // A traceback opened spans its lines over the whole row.
    connect(ui->logView, &QTreeView::expanded, this, [this](const QModelIndex& line) {
        for (int row = 0; row < m_filter->rowCount(line); ++row)
            ui->logView->setFirstColumnSpanned(row, line, true);
    });
    QHeaderView* header = ui->logView->header();
    header->setStretchLastSection(true);
    header->setSectionsMovable(false);
    sizeColumns();

    createKindBoxes();
    fillScenarioCombo();
    connect(m_model, &LogModel::scenariosChanged, this, &LogPage::fillScenarioCombo);
    connect(ui->scenarioCombo, &QComboBox::currentIndexChanged, this, &LogPage::onScenarioChosen);
    connect(ui->textFilter, &QLineEdit::textChanged, m_filter, &LogFilterModel::setText);
    connect(ui->copyButton, &QPushButton::clicked, this, &LogPage::copyLines);
    connect(ui->saveButton, &QPushButton::clicked, this, &LogPage::saveLines);
    connect(ui->clearButton, &QPushButton::clicked, &m_journal, &LogJournal::clear);
    for (QPushButton* button : {ui->copyButton, ui->saveButton, ui->clearButton})
        button->setCursor(Qt::PointingHandCursor);
}

LogPage::~LogPage() = default;

void LogPage::createKindBoxes()
{
    const QList<LogKind>& kinds = LogKinds::all();
    for (int i = 0; i < kinds.size(); ++i) {
        const LogKind kind = kinds[i];
        auto* box = new QCheckBox(LogKinds::title(kind), ui->filtersFrame);
        box->setObjectName(QStringLiteral("kindBox_%1").arg(LogKinds::token(kind)));
        box->setChecked(m_filter->showsKind(kind));
        connect(box, &QCheckBox::toggled, this,
                [this, kind](bool shown) { m_filter->setKindShown(kind, shown); });
        ui->kindsLayout->addWidget(box, i / kKindColumns, i % kKindColumns);
        m_kindBoxes.append(box);
    }
    ui->kindsLayout->setColumnStretch(kKindColumns, 1);
}

// "Все сценарии" and every scenario the journal named, the one chosen staying chosen.
void LogPage::fillScenarioCombo()
{
    const QString chosen = m_filter->scenario();
    if (!chosen.isEmpty() && !m_model->scenarios().contains(chosen)) {
        // A scenario chosen but not (or no longer, after a clear) in the journal stays
        // offered: noting it fills the list again through scenariosChanged.
        m_model->noteScenario(chosen);
        return;
    }
    const QSignalBlocker blocker(ui->scenarioCombo);
    QComboBox* combo = ui->scenarioCombo;
    combo->clear();
    combo->addItem(tr("Все сценарии"), QString());
    for (const QString& name : m_model->scenarios())
        combo->addItem(name, name);
    combo->setCurrentIndex(chosen.isEmpty() ? 0 : combo->findData(chosen));
}

void LogPage::onScenarioChosen(int index)
{
    m_filter->setScenario(index <= 0 ? QString() : ui->scenarioCombo->itemData(index).toString());
}

void LogPage::showScenario(const QString& name)
{
    // Chosen before the list is filled again, so that the new list offers it and keeps it chosen.
    m_filter->setScenario(name);
    fillScenarioCombo();
    for (QCheckBox* box : std::as_const(m_kindBoxes)) {
        const QSignalBlocker blocker(box);
        box->setChecked(true);
    }
    m_filter->showAllKinds();
    ui->textFilter->clear();
}

// The time and kind columns are as wide as their widest text; the scenario's takes a share,
// the message the rest. Measured, not fitted to the rows, which would read every line.
void LogPage::sizeColumns()
{
    ui->logView->ensurePolished(); // the stylesheet's font, when it has one
    const QFontMetrics metrics = ui->logView->fontMetrics();
    constexpr int kPadding = 20;
    int kindWidth = metrics.horizontalAdvance(
        m_model->headerData(LogModel::KindColumn, Qt::Horizontal).toString());
    for (LogKind kind : LogKinds::all())
        kindWidth = std::max(kindWidth, metrics.horizontalAdvance(LogKinds::title(kind)));
    // A traceback opened spans its lines over the whole row.
    connect(ui->logView, &QTreeView::expanded, this, [this](const QModelIndex& line) {
        for (int row = 0; row < m_filter->rowCount(line); ++row)
            ui->logView->setFirstColumnSpanned(row, line, true);
    });
    QHeaderView* header = ui->logView->header();
    header->resizeSection(LogModel::TimeColumn,
                          ui->logView->indentation() +
                              metrics.horizontalAdvance(QStringLiteral("00:00:00.000")) + kPadding);
    header->resizeSection(LogModel::KindColumn, kindWidth + kPadding);
    header->resizeSection(LogModel::ScenarioColumn, metrics.averageCharWidth() * 11 + kPadding);
}

QStringList LogPage::shownLines(const QModelIndexList& rows) const
{
    QList<int> shown;
    if (rows.isEmpty()) {
        for (int row = 0; row < m_filter->rowCount(); ++row)
            shown.append(row);
    } else {
        for (const QModelIndex& index : rows)
            shown.append(lineOf(index).row());
        std::sort(shown.begin(), shown.end());
        shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    }
    QStringList lines;
    for (int row : std::as_const(shown)) {
        // The dropped-lines row is no line of the journal and has no entry.
        if (const LogEntry* entry =
                m_model->entryAt(m_filter->mapToSource(m_filter->index(row, 0))))
            lines.append(LogLineFormat::format(*entry, LogLineFormat::Style::Shown));
    }
    return lines;
}

void LogPage::copyLines()
{
    const QModelIndexList selected = ui->logView->selectionModel()->selectedRows();
    QApplication::clipboard()->setText(shownLines(selected).join(QLatin1Char('\n')));
}

void LogPage::saveLines()
{
    QString path =
        Prompter::saveFileName(this, tr("Сохранить журнал"), QStringLiteral("clavitor-log.txt"),
                               tr("Текстовые файлы (*.txt)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".txt");
    QByteArray bytes;
    for (const QString& line : shownLines())
        bytes += line.toUtf8() + '\n';
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return;
    Prompter::message(Prompt::Kind::Warning, this, QStringLiteral("Clavitor"),
                      tr("Не удалось сохранить журнал в %1:\n%2")
                          .arg(QDir::toNativeSeparators(path), file.errorString()));
}

void LogPage::retranslate()
{
    ui->retranslateUi(this);
    const QList<LogKind>& kinds = LogKinds::all();
    for (int i = 0; i < kinds.size(); ++i)
        m_kindBoxes[i]->setText(LogKinds::title(kinds[i]));
    ui->scenarioCombo->setItemText(0, tr("Все сценарии"));
    m_model->retranslate();
    sizeColumns();
}

void LogPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    else if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        sizeColumns();
    QWidget::changeEvent(event);
}
