#include "OverlayWidget.h"

#include "OverlayPlacement.h"
#include "platform/Platform.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kCapsLockIntervalMs = 200;
constexpr int kMinimumPixelSize = 6;
constexpr int kNormalWeight = 500;
constexpr int kStrongWeight = 600;
const QColor kAccentColor(0xA9, 0x9B, 0xF2); // the active scenario and Caps Lock on
const QColor kMutedColor(0xA3, 0xA3, 0xA3);  // the hint and the empty list
const QColor kRecordingColor(0xF2, 0x5F, 0x5C); // the recorder's state
const QColor kNoticeColor(0xF2, 0xB8, 0x4B);    // a notice for the user

QLabel* newLabel(const char* objectName, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(objectName));
    label->setWordWrap(true);
    return label;
}

// A hotkey as the overlay shows it: a dash stands for none.
QString hotkeyText(const QString& text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("—") : text;
}

// Sets a style sheet only when it changes: each new sheet restyles the label.
void setLabelStyle(QLabel* label, const QString& styleSheet)
{
    if (label->styleSheet() != styleSheet)
        label->setStyleSheet(styleSheet);
}

bool capsLockOn()
{
    return platform::Platform::current().getKeyState(VK_CAPITAL) & 1;
}

} // namespace

OverlayWidget::OverlayWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_MouseTracking);
    // Outside positioning mode the window is transparent to the mouse for the system too,
    // not only for the program's own widgets: a translucent window otherwise catches the
    // clicks that land on its painted pixels.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setContextMenuPolicy(Qt::NoContextMenu);
    setCursor(Qt::ArrowCursor);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);
    m_hintLabel = newLabel("hintLabel", this);
    m_noticeLabel = newLabel("noticeLabel", this);
    m_noticeLabel->setWordWrap(true);
    m_recordingLabel = newLabel("recordingLabel", this);
    m_titleLabel = newLabel("titleLabel", this);
    m_disableLabel = newLabel("disableLabel", this);
    m_scenarioContainer = new QWidget(this);
    m_scenarioContainer->setObjectName(QStringLiteral("scenarioContainer"));
    m_scenarioLayout = new QVBoxLayout(m_scenarioContainer);
    m_scenarioLayout->setContentsMargins(0, 0, 0, 0);
    m_scenarioLayout->setSpacing(4);
    m_emptyLabel = newLabel("emptyLabel", m_scenarioContainer);
    m_emptyLabel->setAlignment(Qt::AlignCenter);
    m_scenarioLayout->addWidget(m_emptyLabel);
    m_autoclickerLabel = newLabel("autoclickerLabel", this);
    m_capsLockLabel = newLabel("capsLockLabel", this);
    for (QWidget* child :
         {static_cast<QWidget*>(m_hintLabel), static_cast<QWidget*>(m_noticeLabel),
          static_cast<QWidget*>(m_recordingLabel),
          static_cast<QWidget*>(m_titleLabel), static_cast<QWidget*>(m_disableLabel),
          m_scenarioContainer, static_cast<QWidget*>(m_autoclickerLabel),
          static_cast<QWidget*>(m_capsLockLabel)})
        layout->addWidget(child);
    m_hintLabel->setVisible(false);

    m_capsLockTimer.setInterval(kCapsLockIntervalMs);
    connect(&m_capsLockTimer, &QTimer::timeout, this, &OverlayWidget::refreshCapsLock);

    rebuildRows();
    refreshTexts();
    restyle();
}

void OverlayWidget::setState(const OverlaySettings& settings, const OverlayContent& content)
{
    const bool listChanged = content.scenarios != m_content.scenarios;
    m_settings = settings;
    m_content = content;
    if (listChanged)
        rebuildRows();
    refreshTexts();
    restyle();
}

void OverlayWidget::setPositioning(bool positioning)
{
    m_positioning = positioning;
    m_dragging = false;
    // The attribute first: while it is set, the window keeps the flag whatever is asked.
    setAttribute(Qt::WA_TransparentForMouseEvents, !positioning);
    setWindowFlag(Qt::WindowTransparentForInput, !positioning);
    setCursor(positioning ? Qt::SizeAllCursor : Qt::ArrowCursor);
    m_hintLabel->setVisible(positioning);
}

void OverlayWidget::rebuildRows()
{
    for (const Row& row : std::as_const(m_rows))
        delete row.row;
    m_rows.clear();
    for (qsizetype i = 0; i < m_content.scenarios.size(); ++i) {
        auto* rowWidget = new QWidget(m_scenarioContainer);
        auto* rowLayout = new QHBoxLayout(rowWidget);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        rowLayout->setSpacing(8);
        auto* hotkey = new QLabel(rowWidget);
        hotkey->setObjectName(QStringLiteral("hotkeyLabel"));
        hotkey->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        hotkey->setMinimumWidth(60);
        auto* name = newLabel("nameLabel", rowWidget);
        rowLayout->addWidget(hotkey);
        rowLayout->addWidget(name, 1);
        m_scenarioLayout->insertWidget(static_cast<int>(i), rowWidget);
        m_rows.append({rowWidget, hotkey, name});
    }
    m_emptyLabel->setVisible(m_rows.isEmpty());
}

void OverlayWidget::refreshTexts()
{
    m_hintLabel->setText(tr("Переместите и нажмите \"Сохранить\""));
    m_titleLabel->setText(m_content.profileName.isEmpty()
                              ? tr("Сценарии")
                              : tr("Сценарии (%1)").arg(m_content.profileName));
    m_disableLabel->setText(
        tr("Отключить сценарий: %1").arg(hotkeyText(m_content.disableHotkeyText)));
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const OverlayScenarioEntry& entry = m_content.scenarios.at(i);
        m_rows[i].hotkey->setText(hotkeyText(entry.hotkey));
        m_rows[i].name->setText(entry.name.isEmpty() ? tr("Сценарий не выбран") : entry.name);
    }
    m_emptyLabel->setText(tr("Сценарии не назначены"));

    const QString& name = m_content.autoclickerName;
    QString state;
    switch (m_content.autoclickerActivity) {
    case AutoclickerActivity::Off:
        state = name.isEmpty() ? tr("выключен") : tr("%1 (выключен)").arg(name);
        break;
    case AutoclickerActivity::Armed:
        state = name.isEmpty() ? tr("включен") : tr("%1 (включен)").arg(name);
        break;
    case AutoclickerActivity::Clicking:
        state = name.isEmpty() ? tr("кликает") : tr("%1 (кликает)").arg(name);
        break;
    }
    m_autoclickerLabel->setText(
        QStringList{tr("Автокликер: %1").arg(state),
                    tr("Вкл/выкл: %1").arg(hotkeyText(m_content.toggleHotkeyText)),
                    tr("Старт/стоп: %1").arg(hotkeyText(m_content.modeHotkeyText))}
            .join(u'\n'));

    // The recorder's state shows whatever else is hidden: the user must see that it records.
    m_recordingLabel->setText(m_content.recordingText);
    m_recordingLabel->setVisible(!m_content.recordingText.isEmpty());
    m_noticeLabel->setText(m_content.noticeText);
    m_noticeLabel->setVisible(!m_content.noticeText.isEmpty());
    m_titleLabel->setVisible(m_settings.showScenarios);
    m_disableLabel->setVisible(m_settings.showScenarios);
    m_scenarioContainer->setVisible(m_settings.showScenarios);
    m_autoclickerLabel->setVisible(m_settings.showAutoclickerStatus);
}

QString OverlayWidget::labelStyle(const QColor& color, int pixelSize, int weight) const
{
    // The font goes into the sheet as well: an application style sheet that sets fonts
    // would otherwise override the overlay's text size.
    return QStringLiteral("color: rgba(%1,%2,%3,%4); font-size: %5px; font-weight: %6;")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(m_settings.textOpacity)
        .arg(std::max(kMinimumPixelSize, pixelSize))
        .arg(weight);
}

void OverlayWidget::restyle()
{
    const int size = m_settings.textSize;
    const QColor& text = m_settings.textColor;
    setLabelStyle(m_hintLabel, labelStyle(kMutedColor, size - 1, kNormalWeight));
    setLabelStyle(m_recordingLabel, labelStyle(kRecordingColor, size, kStrongWeight));
    setLabelStyle(m_noticeLabel, labelStyle(kNoticeColor, size, kStrongWeight));
    setLabelStyle(m_titleLabel, labelStyle(text, size, kStrongWeight));
    setLabelStyle(m_disableLabel, labelStyle(text, size, kNormalWeight));
    setLabelStyle(m_emptyLabel, labelStyle(kMutedColor, size, kNormalWeight));
    setLabelStyle(m_autoclickerLabel, labelStyle(text, size, kNormalWeight));

    const QString active =
        m_settings.highlightActiveScenario ? m_content.activeScenario : QString();
    const QString normalStyle = labelStyle(text, size, kNormalWeight);
    const QString activeStyle = labelStyle(kAccentColor, size, kStrongWeight);
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const bool isActive = !active.isEmpty() && m_content.scenarios.at(i).name.compare(
                                                       active, Qt::CaseInsensitive) == 0;
        const QString& style = isActive ? activeStyle : normalStyle;
        setLabelStyle(m_rows[i].hotkey, style);
        setLabelStyle(m_rows[i].name, style);
        m_rows[i].name->setProperty("active", isActive);
    }

    m_capsLockShown.reset();
    refreshCapsLock();
    update();
}

void OverlayWidget::refreshCapsLock()
{
    const bool on = capsLockOn();
    if (m_capsLockShown == on)
        return;
    m_capsLockShown = on;
    m_capsLockLabel->setText(tr("Caps Lock: %1").arg(on ? tr("включен") : tr("выключен")));
    setLabelStyle(m_capsLockLabel, labelStyle(on ? kAccentColor : m_settings.textColor,
                                              m_settings.textSize, kNormalWeight));
}

void OverlayWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor fill = m_settings.backgroundColor;
    fill.setAlpha(m_settings.backgroundOpacity);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(0.5, 0.5, width() - 1, height() - 1), 8, 8);
}

void OverlayWidget::mousePressEvent(QMouseEvent* event)
{
    if (m_positioning && event->button() == Qt::LeftButton) {
        m_dragOffset = event->globalPosition().toPoint() - pos();
        m_dragging = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void OverlayWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    QScreen* onScreen = screen() ? screen() : QGuiApplication::primaryScreen();
    QPoint topLeft = event->globalPosition().toPoint() - m_dragOffset;
    if (onScreen)
        topLeft = OverlayPlacement::clamp(topLeft, size(), onScreen->availableGeometry());
    move(topLeft);
    emit overlayMoved(topLeft);
    event->accept();
}

void OverlayWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void OverlayWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        refreshTexts();
        m_capsLockShown.reset();
        refreshCapsLock();
    }
    QWidget::changeEvent(event);
}

// Caps Lock is read only while the window is shown.
void OverlayWidget::showEvent(QShowEvent* event)
{
    refreshCapsLock();
    m_capsLockTimer.start();
    QWidget::showEvent(event);
}

void OverlayWidget::hideEvent(QHideEvent* event)
{
    m_capsLockTimer.stop();
    QWidget::hideEvent(event);
}
