#pragma once

#include "input/MovementModifiers.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class QWidget;
class ScriptEditor;

// The open editor windows, one per file: opening a file that has one brings it to the front.
class ScriptEditors : public QObject
{
    Q_OBJECT

public:
    explicit ScriptEditors(QObject* parent = nullptr);
    ~ScriptEditors() override;

    // Opens the file's editor, or brings it to the front with the row's modifiers for its
    // preview; nullptr, said to the user, when the file cannot be read.
    ScriptEditor* open(const QString& path, const MovementModifiers& modifiers,
                       QWidget* dialogParent);
    ScriptEditor* editorOf(const QString& path) const;
    // The name one file goes by, whatever path leads to it.
    static QString fileKey(const QString& path);

signals:
    // An editor wrote its file.
    void saved(const QString& path);

private:
    QHash<QString, QPointer<ScriptEditor>> m_editors;
};
