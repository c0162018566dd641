#include "ModifierDialog.h"

#include "ui_ModifierDialog.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

ModifierDialog::ModifierDialog(QWidget* parent) : QDialog(parent), ui(new Ui::ModifierDialog)
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QDoubleSpinBox* spin : factorSpins()) {
        spin->setRange(-10.0, 10.0);
        spin->setSingleStep(0.1);
    }
    setModifiers({});
    fillLevels();
}

ModifierDialog::~ModifierDialog() = default;

namespace {

constexpr int kMostDecimals = 6;

// As many decimals as the value needs to be shown exactly (up to a limit), at least two.
int decimalsFor(double value)
{
    for (int decimals = 2; decimals < kMostDecimals; ++decimals) {
        const double scale = std::pow(10.0, decimals);
        if (std::abs(std::round(value * scale) / scale - value) <=
            1e-9 * std::max(1.0, std::abs(value)))
            return decimals;
    }
    return kMostDecimals;
}

} // namespace

void ModifierDialog::setModifiers(const MovementModifiers& modifiers)
{
    m_loaded = {modifiers.xy, modifiers.x, modifiers.y};
    const auto spins = factorSpins();
    for (std::size_t i = 0; i < spins.size(); ++i) {
        spins[i]->setDecimals(decimalsFor(m_loaded[i]));
        spins[i]->setValue(m_loaded[i]);
        m_shown[i] = spins[i]->value();
    }
    const int index = ui->randomCombo->findData(modifiers.rand);
    if (index >= 0)
        ui->randomCombo->setCurrentIndex(index);
}

MovementModifiers ModifierDialog::modifiers() const
{
    // A factor the user left alone is the value that was loaded, even where the box cannot
    // show it exactly or at all (outside its range).
    std::array<double, 3> factors{};
    const auto spins = factorSpins();
    for (std::size_t i = 0; i < spins.size(); ++i)
        factors[i] = spins[i]->value() == m_shown[i] ? m_loaded[i] : spins[i]->value();
    return {factors[0], factors[1], factors[2], ui->randomCombo->currentData().toInt()};
}

std::array<QDoubleSpinBox*, 3> ModifierDialog::factorSpins() const
{
    return {ui->xySpin, ui->xSpin, ui->ySpin};
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
