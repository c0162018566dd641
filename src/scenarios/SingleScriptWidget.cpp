#include "SingleScriptWidget.h"

#include "engine/ScenarioFailures.h"
#include "ui/appearance/IconManager.h"
#include "ui/prompts/Prompter.h"
#include "ui_SingleScriptWidget.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QToolTip>
#include <QUrl>

SingleScriptWidget::SingleScriptWidget(QWidget* parent)
    : QFrame(parent), ui(new Ui::SingleScriptWidget)
{
    ui->setupUi(this);
    m_defaultCaption = ui->pushButtonScript->text();

    IconManager& icons = IconManager::instance();
    icons.setIcon(ui->pushButtonEdit, QStringLiteral("code-line"));
    icons.setIcon(ui->pushButtonConfigure, QStringLiteral("settings-3-line"));
    icons.setIcon(ui->pushButtonDuplicate, QStringLiteral("file-copy-line"));
    icons.setIcon(ui->pushButtonExport, QStringLiteral("download-2-line"));
    icons.setIcon(ui->pushButtonImport, QStringLiteral("upload-2-line"));
    icons.setIcon(ui->pushButtonDelete, QStringLiteral("delete-bin-6-line"));
    icons.setIcon(ui->pushButtonError, QStringLiteral("error-warning-fill"));

    connect(ui->pushButtonScript, &QPushButton::clicked, this,
            [this] { emit chooseRequested(this); });
    connect(ui->pushButtonEdit, &QPushButton::clicked, this, &SingleScriptWidget::requestEdit);
    connect(ui->lineEditHotKey, &QLineEdit::textChanged, this, &SingleScriptWidget::hotKeyEdited);
    connect(ui->pushButtonConfigure, &QPushButton::clicked, this,
            [this] { emit configureRequested(this); });
    connect(ui->pushButtonDuplicate, &QPushButton::clicked, this,
            [this] { emit duplicateRequested(this); });
    connect(ui->pushButtonExport, &QPushButton::clicked, this,
            [this] { emit exportRequested(this); });
    connect(ui->pushButtonImport, &QPushButton::clicked, this,
            [this] { emit importRequested(this); });
    connect(ui->pushButtonDelete, &QPushButton::clicked, this,
            [this] { emit removeRequested(this); });
    connect(ui->pushButtonError, &QPushButton::clicked, this,
            [this] { emit logRequested(this); });
    connect(&ScenarioFailures::instance(), &ScenarioFailures::markChanged, this,
            [this](const QString& path) {
                if (path == m_path)
                    showError();
            });
    showPath();
}

SingleScriptWidget::~SingleScriptWidget() = default;

void SingleScriptWidget::setPath(const QString& path)
{
    m_path = path;
    showPath();
    showError();
}

void SingleScriptWidget::showError()
{
    const QString message = ScenarioFailures::instance().errorOf(m_path);
    ui->pushButtonError->setToolTip(message);
    ui->pushButtonError->setVisible(!message.isEmpty());
}

QString SingleScriptWidget::shownError() const
{
    return ui->pushButtonError->isVisibleTo(this) ? ui->pushButtonError->toolTip() : QString();
}

void SingleScriptWidget::showPath()
{
    const bool hasFile = !m_path.isEmpty();
    ui->pushButtonScript->setText(hasFile ? QFileInfo(m_path).completeBaseName()
                                          : m_defaultCaption);
    ui->pushButtonScript->setToolTip(hasFile ? QDir::toNativeSeparators(m_path) : QString());
    // The hotkey field of a row without a file takes the focus all the same, so that a
    // combination pressed there is answered instead of dropped.
    ui->lineEditHotKey->setToolTip(hasFile ? QString() : needsFileText());
    for (QWidget* control :
         {static_cast<QWidget*>(ui->pushButtonEdit), static_cast<QWidget*>(ui->pushButtonConfigure),
          static_cast<QWidget*>(ui->pushButtonDuplicate),
          static_cast<QWidget*>(ui->pushButtonExport)})
        control->setEnabled(hasFile);
}

QString SingleScriptWidget::hotkey() const
{
    return ui->lineEditHotKey->text();
}

void SingleScriptWidget::showHotkey(const QString& text)
{
    const QSignalBlocker blocker(ui->lineEditHotKey);
    ui->lineEditHotKey->setText(text);
}

QString SingleScriptWidget::scriptFileFilter()
{
    return tr("Сценарии Lua (*.lua);;Все файлы (*)");
}

void SingleScriptWidget::requestEdit()
{
    if (!QFileInfo(m_path).isFile()) {
        Prompter::message(Prompt::Kind::Warning, this, QStringLiteral("Clavitor"),
                          tr("Файл сценария не найден"));
        return;
    }
    emit editRequested(this);
}

QString SingleScriptWidget::needsFileText()
{
    return tr("Сначала выберите файл сценария");
}

void SingleScriptWidget::hotKeyEdited(const QString& text)
{
    if (m_path.isEmpty()) {
        showHotkey(QString());
        QLineEdit* field = ui->lineEditHotKey;
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), needsFileText(), field);
        return;
    }
    emit hotKeyChanged(text, this);
}

void SingleScriptWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        m_defaultCaption = ui->pushButtonScript->text();
        showPath();
    }
    QFrame::changeEvent(event);
}
