#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class HomeWidget;
}

// The home page: a card for the autoclicker and one for the scenario manager, each leading
// to its page and to its guide on the maker's website.
class HomeWidget : public QWidget
{
    Q_OBJECT

public:
    explicit HomeWidget(QWidget* parent = nullptr);
    ~HomeWidget() override;

signals:
    void openScriptsRequested();
    void openAutoclickerRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::HomeWidget> ui;
};
