#include "RecordingSaveDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

RecordingSaveDialog::RecordingSaveDialog(const QSet<int>& recordedButtons, QWidget* parent)
    : QDialog(parent), m_recordedButtons(recordedButtons),
      m_onActivation(new QRadioButton(tr("Один раз при активации сценария"), this)),
      m_onPress(new QRadioButton(tr("При каждом нажатии кнопки мыши"), this)),
      m_whileHeld(new QRadioButton(tr("Повторять, пока кнопка мыши зажата"), this)),
      m_button(new QComboBox(this)), m_warning(new QLabel(this))
{
    setWindowTitle(tr("Сохранение записи"));
    m_onActivation->setObjectName(QStringLiteral("triggerOnActivation"));
    m_onPress->setObjectName(QStringLiteral("triggerOnPress"));
    m_whileHeld->setObjectName(QStringLiteral("triggerWhileHeld"));
    m_button->setObjectName(QStringLiteral("triggerButton"));
    m_warning->setObjectName(QStringLiteral("triggerButtonWarning"));
    m_warning->setWordWrap(true);
    const QString buttonNames[] = {tr("Левая (1)"), tr("Средняя (2)"), tr("Правая (3)"),
                                   tr("Назад (4)"), tr("Вперёд (5)")};
    for (int button = 1; button <= 5; ++button)
        m_button->addItem(buttonNames[button - 1], button);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("Сохранить"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* buttonRow = new QFormLayout;
    buttonRow->addRow(tr("Кнопка мыши:"), m_button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Когда воспроизводить запись?"), this));
    layout->addWidget(m_onActivation);
    layout->addWidget(m_onPress);
    layout->addWidget(m_whileHeld);
    layout->addLayout(buttonRow);
    layout->addWidget(m_warning);
    layout->addWidget(buttons);

    for (QRadioButton* choice : {m_onActivation, m_onPress, m_whileHeld})
        connect(choice, &QRadioButton::toggled, this, &RecordingSaveDialog::updateControls);
    connect(m_button, &QComboBox::currentIndexChanged, this, &RecordingSaveDialog::updateControls);
    setTrigger(PlaybackTrigger{});
}

PlaybackTrigger RecordingSaveDialog::trigger() const
{
    PlaybackTrigger trigger;
    trigger.button = m_button->currentData().toInt();
    if (m_onPress->isChecked())
        trigger.kind = PlaybackTrigger::Kind::OnButtonPress;
    else if (m_whileHeld->isChecked())
        trigger.kind = PlaybackTrigger::Kind::WhileButtonHeld;
    return trigger;
}

void RecordingSaveDialog::setTrigger(const PlaybackTrigger& trigger)
{
    const int index = m_button->findData(trigger.button);
    if (index >= 0)
        m_button->setCurrentIndex(index);
    switch (trigger.kind) {
    case PlaybackTrigger::Kind::OnActivation:
        m_onActivation->setChecked(true);
        break;
    case PlaybackTrigger::Kind::OnButtonPress:
        m_onPress->setChecked(true);
        break;
    case PlaybackTrigger::Kind::WhileButtonHeld:
        m_whileHeld->setChecked(true);
        break;
    }
    updateControls();
}

void RecordingSaveDialog::updateControls()
{
    const PlaybackTrigger chosen = trigger();
    const bool byButton = chosen.kind != PlaybackTrigger::Kind::OnActivation;
    m_button->setEnabled(byButton);
    const bool clash = byButton && m_recordedButtons.contains(chosen.button);
    m_warning->setText(clash ? tr("Кнопка «%1» нажимается в самой записи: воспроизведение тоже "
                                  "нажмёт и отпустит её, и запуск по этой кнопке может "
                                  "сработать не так, как ожидается.")
                                   .arg(m_button->currentText())
                             : QString());
    m_warning->setVisible(clash);
}
