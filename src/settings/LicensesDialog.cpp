#include "LicensesDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

const QString kProgramLicence = QStringLiteral(":/LICENSE");
const QString kNoticeFolder = QStringLiteral(":/licenses/");
// The notice that lists the others, and where their sources are.
const QString kOverview = QStringLiteral("README.txt");

} // namespace

LicensesDialog::LicensesDialog(QWidget* parent)
    : QDialog(parent), m_intro(new QLabel(this)), m_components(new QListWidget(this)),
      m_text(new QPlainTextEdit(this))
{
    m_intro->setWordWrap(true);
    m_components->setObjectName("componentList");
    m_components->setFixedWidth(180);
    m_text->setObjectName("licenceText");
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* columns = new QHBoxLayout;
    columns->addWidget(m_components);
    columns->addWidget(m_text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_intro);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);
    resize(880, 560);

    fillComponents();
    retranslate();
    connect(m_components, &QListWidget::currentRowChanged, this, &LicensesDialog::showSelected);
    m_components->setCurrentRow(0);
}

void LicensesDialog::openOver(QWidget* parent)
{
    auto* dialog = new LicensesDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void LicensesDialog::fillComponents()
{
    auto add = [this](const QString& name, const QString& path) {
        auto* item = new QListWidgetItem(name, m_components);
        item->setData(Qt::UserRole, path);
    };
    add(QStringLiteral("Clavitor"), kProgramLicence);
    add(QString(), kNoticeFolder + kOverview); // named in retranslate()
    const QStringList notices =
        QDir(kNoticeFolder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : notices) {
        if (file != kOverview)
            add(QFileInfo(file).completeBaseName(), kNoticeFolder + file);
    }
}

void LicensesDialog::showSelected()
{
    const QListWidgetItem* item = m_components->currentItem();
    if (!item)
        return;
    QFile file(item->data(Qt::UserRole).toString());
    file.open(QIODevice::ReadOnly);
    m_text->setPlainText(QString::fromUtf8(file.readAll()));
}

void LicensesDialog::retranslate()
{
    setWindowTitle(tr("Лицензии"));
    m_intro->setText(tr("Clavitor — свободная программа: её можно распространять и изменять "
                        "на условиях GNU General Public License версии 3 или более поздней. "
                        "Ниже — её лицензия и лицензии всего, что поставляется вместе с ней."));
    m_components->item(1)->setText(tr("Обзор"));
}

void LicensesDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}
