#include "ScriptEditor.h"

#include "FindReplaceBar.h"
#include "LuaCodeCheck.h"
#include "LuaCompletion.h"
#include "ScenarioLexer.h"
#include "preview/PreviewWindow.h"
#include "ui/appearance/ThemeTokens.h"
#include "ui/prompts/Prompter.h"

#include <Qsci/qsciscintilla.h>

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Clavitor");

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

std::optional<QByteArray> readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Where a global's name stands in its line: the first whole occurrence that is not a field
// (after "." or ":"); -1 when the line does not show it.
qsizetype nameColumn(const QString& line, const QString& name)
{
    const QRegularExpression word(QStringLiteral(R"((?<![\w.:])%1(?!\w))")
                                      .arg(QRegularExpression::escape(name)));
    return word.match(line).capturedStart();
}

} // namespace

ScriptEditor::ScriptEditor(const QString& path, const QByteArray& bytes,
                           const MovementModifiers& modifiers, QWidget* parent)
    : QWidget(parent, Qt::Window), m_path(path), m_modifiers(modifiers),
      m_text(new QsciScintilla(this)), m_lexer(new ScenarioLexer(m_text)),
      m_find(new FindReplaceBar(*m_text, this)), m_message(new QLabel(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("scriptEditor"));
    m_text->setObjectName(QStringLiteral("scriptText"));
    m_message->setObjectName(QStringLiteral("checkMessage"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    buildLayout();

    m_text->setUtf8(true);
    m_text->setLexer(m_lexer);
    LuaCompletion::attach(m_lexer);
    m_text->setAutoCompletionSource(QsciScintilla::AcsAll);
    m_text->setAutoCompletionThreshold(2);
    m_text->setAutoCompletionCaseSensitivity(true);
    m_text->setCallTipsStyle(QsciScintilla::CallTipsNoContext);
    m_text->setMarginType(0, QsciScintilla::NumberMargin);
    m_text->setMarginLineNumbers(0, true);
    m_text->setMarginWidth(0, QStringLiteral("00000"));
    m_text->setMarginWidth(1, 16);
    m_text->setCaretLineVisible(true);
    m_text->setBraceMatching(QsciScintilla::SloppyBraceMatch);
    m_text->setAutoIndent(true);
    m_text->setTabWidth(4);
    // The horizontal scroll bar appears only for lines wider than the view.
    m_text->setScrollWidth(1);
    m_text->setScrollWidthTracking(true);
    m_errorMarker = m_text->markerDefine(QsciScintilla::Circle);
    m_errorIndicator = m_text->indicatorDefine(QsciScintilla::SquiggleIndicator);
    m_warningIndicator = m_text->indicatorDefine(QsciScintilla::SquiggleIndicator);
    applyTheme();

    load(bytes);
    m_watcher.addPath(path);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &ScriptEditor::fileChangedOnDisk);

    m_checkTimer.setSingleShot(true);
    m_checkTimer.setInterval(kCheckDelayMs);
    connect(&m_checkTimer, &QTimer::timeout, this, &ScriptEditor::checkNow);
    connect(m_text, &QsciScintilla::textChanged, &m_checkTimer, qOverload<>(&QTimer::start));
    connect(m_text, &QsciScintilla::modificationChanged, this, &ScriptEditor::updateTitle);
    checkNow();
    resize(820, 620);
}

ScriptEditor::~ScriptEditor() = default;

void ScriptEditor::buildLayout()
{
    auto* save = new QPushButton(tr("Сохранить"), this);
    save->setObjectName(QStringLiteral("saveButton"));
    save->setToolTip(tr("Сохранить (Ctrl+S)"));
    auto* find = new QPushButton(tr("Найти и заменить"), this);
    find->setToolTip(tr("Найти и заменить (Ctrl+F)"));
    auto* preview = new QPushButton(tr("Предпросмотр"), this);
    preview->setObjectName(QStringLiteral("previewButton"));
    preview->setToolTip(tr("Показать, что сделает сценарий (F5)"));
    auto* external = new QPushButton(tr("Открыть во внешнем редакторе"), this);
    external->setObjectName(QStringLiteral("externalEditorButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(find);
    buttons->addWidget(preview);
    buttons->addStretch(1);
    buttons->addWidget(external);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_find);
    layout->addWidget(m_message);

    connect(save, &QPushButton::clicked, this, &ScriptEditor::save);
    connect(find, &QPushButton::clicked, m_find, &FindReplaceBar::showFind);
    connect(preview, &QPushButton::clicked, this, &ScriptEditor::showPreview);
    connect(external, &QPushButton::clicked, this, &ScriptEditor::openExternally);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this,
            &ScriptEditor::save);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, m_find,
            &FindReplaceBar::showFind);
    connect(new QShortcut(QKeySequence::Replace, this), &QShortcut::activated, m_find,
            &FindReplaceBar::showFind);
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
            &ScriptEditor::showPreview);
}

void ScriptEditor::load(const QByteArray& bytes)
{
    m_diskBytes = bytes;
    m_file = ScriptFileText::decode(bytes);
    m_text->setEolMode(m_file.crlf() ? QsciScintilla::EolWindows : QsciScintilla::EolUnix);
    m_text->setIndentationsUseTabs(m_file.text().contains(QLatin1String("\n\t")));
    m_text->setText(m_file.text());
    m_text->setModified(false);
    m_keptAgainstDisk = false;
    updateTitle();
}

QString ScriptEditor::text() const
{
    return m_text->text();
}

bool ScriptEditor::isModified() const
{
    return m_text->isModified() || m_keptAgainstDisk;
}

void ScriptEditor::applyTheme()
{
    const ThemeTokens& tokens = ThemeTokens::current();
    QFont font(QStringLiteral("JetBrains Mono"));
    font.setStyleHint(QFont::Monospace);
    // The size of the program's text, which the theme sets in pixels.
    font.setPointSizeF(QFontInfo(this->font()).pointSizeF());
    m_lexer->applyTheme(tokens, font);
    m_text->setMarginsFont(font);
    m_text->setMarginsBackgroundColor(tokens.colour(QStringLiteral("code-margin")));
    m_text->setMarginsForegroundColor(tokens.colour(QStringLiteral("code-margin-foreground")));
    m_text->setCaretForegroundColor(tokens.colour(QStringLiteral("foreground")));
    m_text->setCaretLineBackgroundColor(tokens.colour(QStringLiteral("code-current-line")));
    m_text->setSelectionBackgroundColor(tokens.colour(QStringLiteral("selection")));
    m_text->setSelectionForegroundColor(tokens.colour(QStringLiteral("foreground")));
    m_text->setMatchedBraceBackgroundColor(tokens.colour(QStringLiteral("code-brace")));
    m_text->setMatchedBraceForegroundColor(tokens.colour(QStringLiteral("foreground")));
    m_text->setUnmatchedBraceForegroundColor(tokens.colour(QStringLiteral("error")));
    m_text->setUnmatchedBraceBackgroundColor(tokens.colour(QStringLiteral("background")));
    m_text->setCallTipsBackgroundColor(tokens.colour(QStringLiteral("popover")));
    m_text->setCallTipsForegroundColor(tokens.colour(QStringLiteral("foreground")));
    m_text->setCallTipsHighlightColor(tokens.colour(QStringLiteral("primary")));
    const QColor error = tokens.colour(QStringLiteral("error"));
    m_text->setMarkerBackgroundColor(error, m_errorMarker);
    m_text->setMarkerForegroundColor(error, m_errorMarker);
    m_text->setIndicatorForegroundColor(error, m_errorIndicator);
    m_text->setIndicatorForegroundColor(tokens.colour(QStringLiteral("warning")),
                                        m_warningIndicator);
}

void ScriptEditor::changeEvent(QEvent* event)
{
    // The theme's stylesheet arrives before the theme is published: colour once it is.
    if (event->type() == QEvent::StyleChange)
        QTimer::singleShot(0, this, &ScriptEditor::applyTheme);
    QWidget::changeEvent(event);
}

void ScriptEditor::clearMarks()
{
    m_text->markerDeleteAll(m_errorMarker);
    const int lastLine = std::max(m_text->lines() - 1, 0);
    const int lastIndex = m_text->text(lastLine).length();
    m_text->clearIndicatorRange(0, 0, lastLine, lastIndex, m_errorIndicator);
    m_text->clearIndicatorRange(0, 0, lastLine, lastIndex, m_warningIndicator);
    m_errorLine = 0;
    m_unknownMarks.clear();
}

void ScriptEditor::checkNow()
{
    m_checkTimer.stop();
    clearMarks();
    const LuaCodeCheck::Result result = LuaCodeCheck::check(m_text->text());
    if (result.error) {
        const int line = std::clamp(result.error->line, 1, std::max(m_text->lines(), 1));
        m_errorLine = line;
        m_text->markerAdd(line - 1, m_errorMarker);
        m_text->fillIndicatorRange(line - 1, 0, line - 1,
                                   m_text->text(line - 1).length(), m_errorIndicator);
        m_message->setText(tr("Строка %1: %2").arg(line).arg(result.error->message));
        return;
    }
    QStringList names;
    for (const LuaCodeCheck::UnknownName& unknown : result.unknownNames) {
        const QString line = m_text->text(unknown.line - 1);
        const qsizetype column = nameColumn(line, unknown.name);
        if (column < 0)
            continue;
        m_text->fillIndicatorRange(unknown.line - 1, static_cast<int>(column), unknown.line - 1,
                                   static_cast<int>(column + unknown.name.length()),
                                   m_warningIndicator);
        m_unknownMarks.append(QStringLiteral("%1:%2").arg(unknown.name).arg(unknown.line));
        names.append(tr("%1 (строка %2)").arg(unknown.name).arg(unknown.line));
    }
    m_message->setText(names.isEmpty() ? QString()
                                       : tr("Неизвестные имена: %1").arg(names.join(QLatin1String(", "))));
}

QStringList ScriptEditor::unknownNameMarks() const
{
    return m_unknownMarks;
}

QString ScriptEditor::checkMessage() const
{
    return m_message->text();
}

bool ScriptEditor::save()
{
    const QString text = m_text->text();
    std::optional<QByteArray> bytes = m_file.encode(text);
    if (!bytes) {
        if (Prompter::message(Prompt::Kind::Question, this, kTitle,
                              tr("В кодировке Windows-1251 нет некоторых символов текста. "
                                 "Сохранить файл «%1» в UTF-8?")
                                  .arg(fileName(m_path)),
                              QMessageBox::Save | QMessageBox::Cancel,
                              QMessageBox::Save) != QMessageBox::Save)
            return false;
        bytes = m_file.encodeUtf8(text);
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() ||
        !file.commit()) {
        Prompter::message(Prompt::Kind::Warning, this, kTitle,
                          tr("Не удалось сохранить файл «%1»: %2")
                              .arg(QDir::toNativeSeparators(m_path), file.errorString()));
        return false;
    }
    m_diskBytes = *bytes;
    m_file = ScriptFileText::decode(*bytes);
    m_text->setModified(false);
    m_keptAgainstDisk = false;
    updateTitle();
    // The file was replaced: the watch went with the old one.
    if (!m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
    emit saved(m_path);
    return true;
}

void ScriptEditor::fileChangedOnDisk()
{
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    const std::optional<QByteArray> bytes = readFile(m_path);
    if (m_askingReload || !bytes || *bytes == m_diskBytes)
        return;
    m_askingReload = true;
    const QString question =
        isModified() ? tr("Файл «%1» изменён на диске. Загрузить его заново? Несохранённые "
                          "изменения в редакторе будут потеряны.")
                     : tr("Файл «%1» изменён на диске. Загрузить его заново?");
    const bool reload = Prompter::message(Prompt::Kind::Question, this, kTitle,
                                          question.arg(fileName(m_path)),
                                          QMessageBox::Yes | QMessageBox::No,
                                          QMessageBox::Yes) == QMessageBox::Yes;
    m_askingReload = false;
    // The file may have changed again while the question was open: the newest bytes count.
    const std::optional<QByteArray> now = readFile(m_path);
    if (reload && now) {
        load(*now);
        checkNow();
        return;
    }
    // Kept: the text now differs from the file, and this change is not asked about again.
    m_diskBytes = now.value_or(*bytes);
    m_keptAgainstDisk = true;
    updateTitle();
}

void ScriptEditor::openExternally()
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(m_path))) {
        Prompter::message(Prompt::Kind::Warning, this, kTitle,
                          tr("Не удалось открыть файл сценария \"%1\".")
                              .arg(QDir::toNativeSeparators(m_path)));
    }
}

void ScriptEditor::showPreview()
{
    if (!m_preview) {
        m_preview = new PreviewWindow(this);
        m_preview->setScriptSource([this] { return m_text->text(); });
    }
    m_preview->run(QFileInfo(m_path).completeBaseName(), m_text->text(), m_modifiers);
}

void ScriptEditor::updateTitle()
{
    setWindowTitle(QStringLiteral("%1[*] — Clavitor").arg(fileName(m_path)));
    setWindowModified(isModified());
}

void ScriptEditor::closeEvent(QCloseEvent* event)
{
    if (isModified()) {
        const QMessageBox::StandardButton answer = Prompter::message(
            Prompt::Kind::Question, this, kTitle,
            tr("Сохранить изменения в «%1»?").arg(fileName(m_path)),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Cancel || answer == QMessageBox::NoButton ||
            (answer == QMessageBox::Save && !save())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}
