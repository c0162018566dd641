#include "ScriptEditors.h"

#include "ScriptEditor.h"
#include "ui/prompts/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

ScriptEditors::ScriptEditors(QObject* parent) : QObject(parent) {}

ScriptEditors::~ScriptEditors()
{
    for (const QPointer<ScriptEditor>& editor : std::as_const(m_editors))
        delete editor.data();
}

QString ScriptEditors::fileKey(const QString& path)
{
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

ScriptEditor* ScriptEditors::editorOf(const QString& path) const
{
    return m_editors.value(fileKey(path)).data();
}

ScriptEditor* ScriptEditors::open(const QString& path, const MovementModifiers& modifiers,
                                  QWidget* dialogParent)
{
    ScriptEditor* editor = editorOf(path);
    if (!editor) {
        QFile file(path);
        if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
            Prompter::message(Prompt::Kind::Warning, dialogParent, QStringLiteral("Clavitor"),
                              tr("Не удалось открыть файл сценария \"%1\".")
                                  .arg(QDir::toNativeSeparators(path)));
            return nullptr;
        }
        editor = new ScriptEditor(path, file.readAll(), modifiers);
        const QString key = fileKey(path);
        m_editors.insert(key, editor);
        connect(editor, &QObject::destroyed, this, [this, key] { m_editors.remove(key); });
        connect(editor, &ScriptEditor::saved, this, &ScriptEditors::saved);
    }
    editor->setModifiers(modifiers);
    editor->setWindowState(editor->windowState() & ~Qt::WindowMinimized);
    editor->show();
    editor->raise();
    editor->activateWindow();
    return editor;
}
