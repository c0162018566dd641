#include "ModifierDialog.h"

#include "ui_ModifierDialog.h"

#include <QEvent>

ModifierDialog::ModifierDialog(QWidget* parent) : QDialog(parent), ui(new Ui::ModifierDialog)
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QDoubleSpinBox* spin : {ui->xySpin, ui->xSpin, ui->ySpin}) {
        spin->setRange(-10.0, 10.0);
        spin->setSingleStep(0.1);
    }
    fillLevels();
}

ModifierDialog::~ModifierDialog() = default;

void ModifierDialog::setModifiers(const MovementModifiers& modifiers)
{
    ui->xySpin->setValue(modifiers.xy);
    ui->xSpin->setValue(modifiers.x);
    ui->ySpin->setValue(modifiers.y);
    const int index = ui->randomCombo->findData(modifiers.rand);
    if (index >= 0)
        ui->randomCombo->setCurrentIndex(index);
}

MovementModifiers ModifierDialog::modifiers() const
{
    return {ui->xySpin->value(), ui->xSpin->value(), ui->ySpin->value(),
            ui->randomCombo->currentData().toInt()};
}

void ModifierDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        fillLevels();
    }
    QDialog::changeEvent(event);
}

// (Re)fills the level names in the current language, keeping the selected level.
void ModifierDialog::fillLevels()
{
    QComboBox* combo = ui->randomCombo;
    const int previousIndex = combo->currentIndex();
    const QVariant previousLevel = combo->currentData();

    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItem(tr("нет"), 0);
    combo->addItem(tr("немного"), 1);
    combo->addItem(tr("средне"), 2);
    combo->addItem(tr("сильно"), 3);

    int index = previousIndex >= 0 ? combo->findData(previousLevel) : -1;
    if (index < 0)
        index = previousIndex >= 0 && previousIndex < combo->count() ? previousIndex : 0;
    combo->setCurrentIndex(index);
}
