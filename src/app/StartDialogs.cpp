#include "app/StartDialogs.h"

#include <unistd.h>

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

#include "app/AppSettings.h"

namespace kov {

namespace {

QString Megabytes(qint64 bytes) {
    return QStringLiteral("%1 MB").arg(QLocale::c().toString(bytes / (1024 * 1024)));
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Kov"));
    auto* layout = new QHBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);
    layout->addWidget(icon);
    auto* column = new QVBoxLayout;
    auto* title = new QLabel(tr("<b>KOV</b> Version 0.1.0"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    title->setFont(big);
    column->addWidget(title);
    column->addWidget(new QLabel(tr("Kovatrix: a workbench for power system recordings and "
                                    "simulation results."),
                                 this));
    column->addWidget(new QLabel(tr("Copyright \u00a9 Marvane Applications"), this));
    const long pages = ::sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        column->addWidget(new QLabel(
            tr("Memory available: %1").arg(Megabytes(static_cast<qint64>(pages) * pageSize)),
            this));
    const QStorageInfo disk(QDir::currentPath());
    if (disk.isValid())
        column->addWidget(new QLabel(
            tr("Disk space free: %1 (%2)").arg(Megabytes(disk.bytesAvailable()), disk.rootPath()),
            this));
    column->addStretch();
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    row->addWidget(ok);
    column->addLayout(row);
    layout->addLayout(column, 1);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

namespace {

QByteArray TipsFile() {
    QFile file(":/tips.txt");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

CTipDlg::CTipDlg(QWidget* parent)
    : QDialog(parent),
      text_(new QLabel(this)),
      startUp_(new QCheckBox(tr("&Show Tips on StartUp"), this)) {
    setWindowTitle(tr("Tip of the Day"));
    const QByteArray content = TipsFile();
    for (const QByteArray& line : content.split('\n')) {
        const QString tip = QString::fromUtf8(line).trimmed();
        if (!tip.isEmpty() && !tip.startsWith('#')) tips_ << tip;
    }
    const QString stamp =
        QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex());
    auto settings = UserSettings();
    settings->beginGroup("Tip");
    if (settings->value("TimeStamp").toString() == stamp)
        position_ = settings->value("FilePos", 0).toInt();
    settings->setValue("TimeStamp", stamp);
    startUp_->setChecked(!settings->value("StartUp", false).toBool());
    settings->endGroup();
    if (position_ < 0 || position_ >= tips_.size()) position_ = 0;

    auto* layout = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    auto* bulb = new QLabel(this);
    bulb->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    bulb->setAlignment(Qt::AlignTop);
    body->addWidget(bulb);
    auto* column = new QVBoxLayout;
    auto* heading = new QLabel(tr("<b>Did you know...</b>"), this);
    column->addWidget(heading);
    text_->setWordWrap(true);
    text_->setMinimumSize(360, 90);
    text_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    column->addWidget(text_, 1);
    body->addLayout(column, 1);
    layout->addLayout(body, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(startUp_);
    row->addStretch();
    auto* next = new QPushButton(tr("&Next Tip"), this);
    auto* close = new QPushButton(tr("&Close"), this);
    close->setDefault(true);
    row->addWidget(next);
    row->addWidget(close);
    layout->addLayout(row);
    connect(next, &QPushButton::clicked, this, &CTipDlg::NextTip);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    NextTip();
}

CTipDlg::~CTipDlg() {
    auto settings = UserSettings();
    settings->beginGroup("Tip");
    settings->setValue("FilePos", position_);
    settings->setValue("StartUp", !startUp_->isChecked());
    settings->endGroup();
}

bool CTipDlg::ShowAtStartUp() {
    auto settings = UserSettings();
    return !settings->value("Tip/StartUp", false).toBool();
}

QString CTipDlg::tip() const {
    return text_->text();
}

void CTipDlg::NextTip() {
    if (tips_.isEmpty()) {
        text_->setText(tr("Tips file does not exist in the prescribed directory"));
        return;
    }
    text_->setText(tips_[position_ % tips_.size()]);
    position_ = (position_ + 1) % static_cast<int>(tips_.size());
}

}  // namespace kov
