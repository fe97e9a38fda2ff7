#include "app/QtUi.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QVBoxLayout>

#include "platform/Strings.h"

namespace kov {

CProgressDialog::CProgressDialog(QWidget* owner)
    : QDialog(owner),
      text_(new QLabel(QString::fromUtf8(str::kProgressInitialText), this)),
      bar_(new QProgressBar(this)) {
    setWindowTitle(QString::fromUtf8(str::kProgressTitle));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(bar_);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    resize(360, sizeHint().height());
    show();
    QApplication::processEvents();
}

void CProgressDialog::SetRange(int maximum) {
    if (maximum < 1) return;
    bar_->setRange(0, maximum);
}

void CProgressDialog::SetPos(int position) {
    if (position < 0) return;
    bar_->setValue(std::min(position, bar_->maximum()));
    // Long reads run on the interface thread: let the window repaint.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CProgressDialog::SetText(const std::string& text) {
    text_->setText(QString::fromStdString(text));
}

void CProgressDialog::SetTitle(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
}

QWidget* QtUi::Owner() const {
    if (QWidget* focus = QApplication::activeWindow()) return focus;
    return owner_;
}

Answer QtUi::ShowMessage(const std::string& text, const std::string& caption, Icon icon,
                         Buttons buttons) {
    QMessageBox box(Owner());
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Warning:
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case Buttons::RetryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            return Answer::Ok;
    }
}

void QtUi::Beep() {
    QApplication::beep();
}

void QtUi::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUi::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}

std::unique_ptr<ProgressWindow> QtUi::CreateProgress() {
    return std::make_unique<CProgressDialog>(owner_);
}

}  // namespace kov
