#include "FindReplaceBar.h"

#include <Qsci/qsciscintilla.h>

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

FindReplaceBar::FindReplaceBar(QsciScintilla& text, QWidget* parent)
    : QWidget(parent), m_text(text), m_find(new QLineEdit(this)), m_replace(new QLineEdit(this)),
      m_case(new QCheckBox(tr("Учитывать регистр"), this)),
      m_words(new QCheckBox(tr("Слово целиком"), this)), m_result(new QLabel(this))
{
    setObjectName(QStringLiteral("findReplaceBar"));
    m_find->setObjectName(QStringLiteral("findText"));
    m_replace->setObjectName(QStringLiteral("replaceText"));
    m_find->setPlaceholderText(tr("Найти"));
    m_replace->setPlaceholderText(tr("Заменить на"));
    auto* next = new QPushButton(tr("Далее"), this);
    auto* previous = new QPushButton(tr("Назад"), this);
    auto* replace = new QPushButton(tr("Заменить"), this);
    auto* all = new QPushButton(tr("Заменить все"), this);
    all->setObjectName(QStringLiteral("replaceAllButton"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_find, 0, 0);
    layout->addWidget(next, 0, 1);
    layout->addWidget(previous, 0, 2);
    layout->addWidget(m_case, 0, 3);
    layout->addWidget(m_replace, 1, 0);
    layout->addWidget(replace, 1, 1);
    layout->addWidget(all, 1, 2);
    layout->addWidget(m_words, 1, 3);
    layout->addWidget(m_result, 0, 4, 2, 1);
    layout->setColumnStretch(0, 1);

    connect(m_find, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(false); });
    connect(replace, &QPushButton::clicked, this, &FindReplaceBar::replaceFound);
    connect(all, &QPushButton::clicked, this, &FindReplaceBar::replaceAll);
    hide();
}

void FindReplaceBar::showFind()
{
    const QString selected = m_text.selectedText();
    if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n')))
        m_find->setText(selected);
    say({});
    show();
    m_find->setFocus();
    m_find->selectAll();
}

bool FindReplaceBar::find(bool forward, bool wrap)
{
    if (m_find->text().isEmpty())
        return false;
    int line = 0;
    int index = 0;
    if (!forward) {
        // Backwards from the start of the selection, or the found text is found again.
        int lineTo = 0;
        int indexTo = 0;
        m_text.getSelection(&line, &index, &lineTo, &indexTo);
        if (line < 0)
            m_text.getCursorPosition(&line, &index);
    }
    return m_text.findFirst(m_find->text(), false, m_case->isChecked(), m_words->isChecked(),
                            wrap, forward, forward ? -1 : line, forward ? -1 : index);
}

bool FindReplaceBar::findNext(bool forward)
{
    const bool found = find(forward, true);
    say(found || m_find->text().isEmpty() ? QString() : tr("Не найдено"));
    return found;
}

void FindReplaceBar::replaceFound()
{
    if (m_text.hasSelectedText() &&
        m_text.selectedText().compare(m_find->text(), m_case->isChecked()
                                                          ? Qt::CaseSensitive
                                                          : Qt::CaseInsensitive) == 0)
        m_text.replace(m_replace->text());
    findNext();
}

int FindReplaceBar::replaceAll()
{
    if (m_find->text().isEmpty())
        return 0;
    int count = 0;
    m_text.beginUndoAction();
    m_text.setCursorPosition(0, 0);
    // No wrap: the search ends at the end of the text, so a replacement that holds the text
    // looked for is not found again.
    while (m_text.findFirst(m_find->text(), false, m_case->isChecked(), m_words->isChecked(),
                            false, true, count == 0 ? 0 : -1, count == 0 ? 0 : -1)) {
        m_text.replace(m_replace->text());
        ++count;
    }
    m_text.endUndoAction();
    say(tr("Заменено: %1").arg(count));
    return count;
}

void FindReplaceBar::say(const QString& text)
{
    m_result->setText(text);
}

void FindReplaceBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        m_text.setFocus();
        return;
    }
    QWidget::keyPressEvent(event);
}
