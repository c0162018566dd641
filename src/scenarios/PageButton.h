#pragma once

class QPushButton;
class QWidget;

// A push button of the scenario page's panels: named for the style sheet and the tests, with
// the pointing hand the page's buttons show.
QPushButton* namedButton(QWidget* parent, const char* objectName);
