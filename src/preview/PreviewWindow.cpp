#include "PreviewWindow.h"

#include "PreviewClient.h"
#include "PreviewPlot.h"
#include "PreviewTimeline.h"
#include "log/LogLineFormat.h"
#include "ui/prompts/Prompter.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QVBoxLayout>

PreviewWindow::PreviewWindow(QWidget* parent, const QString& program)
    : QWidget(parent, Qt::Window), m_client(new PreviewClient(this, program)),
      m_timeline(new QComboBox(this)), m_capsLock(new QCheckBox(this)),
      m_runAgain(new QPushButton(this)), m_overlay(new QCheckBox(this)),
      m_exportPng(new QPushButton(this)), m_plot(new PreviewPlot(this)), m_summary(new QLabel(this)),
      m_message(new QLabel(this)), m_log(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("previewWindow"));
    m_timeline->setObjectName(QStringLiteral("comboTimeline"));
    m_capsLock->setObjectName(QStringLiteral("checkCapsLock"));
    m_runAgain->setObjectName(QStringLiteral("buttonRunAgain"));
    m_overlay->setObjectName(QStringLiteral("checkOverlayPrevious"));
    m_exportPng->setObjectName(QStringLiteral("buttonExportPng"));
    m_plot->setObjectName(QStringLiteral("previewPlot"));
    m_summary->setObjectName(QStringLiteral("labelSummary"));
    m_message->setObjectName(QStringLiteral("labelMessage"));
    m_log->setObjectName(QStringLiteral("textLog"));
    for (PreviewTimeline::Kind kind : PreviewTimeline::all())
        m_timeline->addItem(QString(), QVariant::fromValue(int(kind)));
    m_message->setWordWrap(true);
    m_log->setReadOnly(true);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_exportPng->setEnabled(false);

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_timeline);
    controls->addWidget(m_capsLock);
    controls->addWidget(m_runAgain);
    controls->addWidget(m_overlay);
    controls->addStretch();
    controls->addWidget(m_exportPng);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_plot);
    splitter->addWidget(m_log);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_summary);
    layout->addWidget(m_message);

    connect(m_runAgain, &QPushButton::clicked, this, &PreviewWindow::runAgain);
    connect(m_overlay, &QCheckBox::toggled, this, &PreviewWindow::updatePlot);
    connect(m_exportPng, &QPushButton::clicked, this, &PreviewWindow::exportPng);
    connect(m_client, &PreviewClient::finished, this, &PreviewWindow::showResult);
    retranslate();
    resize(980, 520);
}

void PreviewWindow::run(const QString& scenarioName, const QString& scriptText,
                        const MovementModifiers& rowModifiers)
{
    m_scenarioName = scenarioName;
    m_scriptText = scriptText;
    m_modifiers = rowModifiers;
    retranslate();
    runAgain();
    show();
    raise();
    activateWindow();
}

void PreviewWindow::runAgain()
{
    if (m_source)
        m_scriptText = m_source();
    PreviewRequest request;
    request.scenarioName = m_scenarioName;
    request.script = m_scriptText;
    request.timeline = PreviewTimeline::Kind(m_timeline->currentData().toInt());
    request.capsLock = m_capsLock->isChecked();
    request.modifiers = m_modifiers;
    m_running = true;
    m_message->setText(tr("Выполняется…"));
    m_client->start(request);
}

void PreviewWindow::showResult(const PreviewResult& result)
{
    m_running = false;
    if (m_result)
        m_previous = m_result;
    m_result = result;
    m_exportPng->setEnabled(true);
    QStringList lines;
    for (const PreviewResult::LogLine& line : result.log) {
        LogEntry entry;
        entry.time = QDateTime::fromMSecsSinceEpoch(line.atUs / 1000, Qt::UTC);
        entry.kind = line.error ? LogKind::Error : LogKind::Script;
        entry.scenario = m_scenarioName;
        entry.text = line.text;
        lines << LogLineFormat::format(entry, LogLineFormat::Style::Shown);
    }
    if (result.droppedLogLines > 0)
        lines << tr("… ещё строк: %1").arg(result.droppedLogLines);
    m_log->setPlainText(lines.join(QLatin1Char('\n')));
    retranslate();
    updatePlot();
    emit resultShown();
}

void PreviewWindow::updatePlot()
{
    if (!m_result)
        return;
    const bool overlay = m_overlay->isChecked() && m_previous;
    m_plot->setRuns(PreviewPath(*m_result), m_result->durationUs,
                    overlay ? std::optional<PreviewPath>(PreviewPath(*m_previous)) : std::nullopt,
                    overlay ? m_previous->durationUs : 0);
}

void PreviewWindow::exportPng()
{
    const QString path = Prompter::saveFileName(this, tr("Экспорт PNG"),
                                                m_scenarioName + QStringLiteral(".png"),
                                                tr("Изображения PNG (*.png)"));
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSaveFile file(path);
    const bool saved = m_plot->grab().save(&buffer, "PNG") && file.open(QIODevice::WriteOnly) &&
                       file.write(bytes) == bytes.size() && file.commit();
    if (!saved)
        Prompter::message(Prompt::Kind::Warning, this, QStringLiteral("Clavitor"),
                          tr("Не удалось сохранить файл %1").arg(path));
}

void PreviewWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void PreviewWindow::retranslate()
{
    setWindowTitle(m_scenarioName.isEmpty() ? tr("Предпросмотр")
                                            : tr("Предпросмотр — %1").arg(m_scenarioName));
    const QList<PreviewTimeline::Kind> kinds = PreviewTimeline::all();
    for (int i = 0; i < m_timeline->count(); ++i)
        m_timeline->setItemText(i, PreviewTimeline::title(kinds.at(i)));
    m_capsLock->setText(tr("Caps Lock включён"));
    m_runAgain->setText(tr("Запустить снова"));
    m_overlay->setText(tr("Наложить предыдущий запуск"));
    m_exportPng->setText(tr("Экспорт PNG…"));
    if (m_running || !m_result) {
        m_summary->clear();
        return;
    }
    const QLocale locale;
    QString summary = tr("Путь: %1 пикс., длительность: %2 мс")
                          .arg(locale.toString(PreviewPath(*m_result).distance(), 'f', 1),
                               locale.toString(m_result->durationUs / 1000));
    if (m_result->droppedRecords > 0)
        summary += QLatin1Char(' ') + tr("(показаны первые %1 записей, ещё %2 не показаны)")
                                          .arg(m_result->records.size())
                                          .arg(m_result->droppedRecords);
    m_summary->setText(summary);
    m_message->setText(m_result->message());
}
