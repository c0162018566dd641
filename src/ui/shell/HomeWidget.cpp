#include "HomeWidget.h"

#include "MakerPages.h"
#include "ui_HomeWidget.h"

#include <QEvent>

HomeWidget::HomeWidget(QWidget* parent) : QWidget(parent), ui(new Ui::HomeWidget)
{
    ui->setupUi(this);
    connect(ui->scriptsGoButton, &QPushButton::clicked, this, &HomeWidget::openScriptsRequested);
    connect(ui->autoclickerGoButton, &QPushButton::clicked, this,
            &HomeWidget::openAutoclickerRequested);
    connect(ui->autoclickerInstructionButton, &QPushButton::clicked, this,
            [this] { openMakerPage(MakerPage::AutoclickerGuide, this); });
    connect(ui->scriptsInstructionButton, &QPushButton::clicked, this,
            [this] { openMakerPage(MakerPage::ScriptsGuide, this); });
}

HomeWidget::~HomeWidget() = default;

void HomeWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QWidget::changeEvent(event);
}
