#include "views/FileViewer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFontDatabase>
#include <QStringDecoder>
#include <cerrno>
#include <string>

#include "app/MainWindow.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "views/ViewCommands.h"

namespace kov {

namespace {

// Reads the whole file; errno-style error code, 0 on success.
int ReadWholeFile(const std::string& path, std::string& bytes) {
    // Non-blocking, so that opening a FIFO without a writer cannot hang the
    // program; only regular files are read (a FIFO or a device such as
    // /dev/zero could block or never end).
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    struct stat info {};
    int error = 0;
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
        error = EINVAL;
    } else {
        if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
        char block[1 << 16];
        for (;;) {
            const ssize_t got = ::read(fd, block, sizeof block);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                error = errno;
                break;
            }
            if (got == 0) break;
            bytes.append(block, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    return error;
}

// The text shown: CR LF read as LF (a text-mode read), a line break after a
// last line that has none. Text that is not UTF-8 is taken as Latin-1.
QString ViewerText(std::string& bytes) {
    std::string text;
    text.reserve(bytes.size() + 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text += bytes[i];
    }
    if (!text.empty() && text.back() != '\n') text += '\n';
    bytes.clear();
    QStringDecoder utf8(QStringConverter::Utf8);
    QString decoded = utf8.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (utf8.hasError())
        decoded = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return decoded;
}

}  // namespace

CFileView::CFileView() {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

QWidget* CFileDoc::Window() {
    if (!view_) {
        view_ = new CFileView;
        view_->setWindowTitle(QString::fromStdString(str::kFileViewerTitle + path_));
    }
    return view_;
}

void CFileDoc::Copy() {
    if (view_) view_->copy();
}

bool CFileDoc::Load(Ui& ui) {
    std::string bytes;
    int error = 0;
    {
        WaitCursor wait(ui);  // a large text output takes a moment
        error = ReadWholeFile(path_, bytes);
    }
    if (error != 0) {
        ui.MessageBox(Format(str::kCouldNotOpenFile, path_.c_str()) + FileErrorText(error), "",
                      Icon::None, Buttons::Ok);
        return false;
    }
    CFileView* view = static_cast<CFileView*>(Window());
    view->setPlainText(ViewerText(bytes));
    view->document()->setModified(false);
    return true;
}

const char* FileErrorText(int error) {
    switch (error) {
        case ENOENT:
            return str::kFileErrorNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return str::kFileErrorBadPath;
        case EMFILE:
        case ENFILE:
            return str::kFileErrorTooManyOpen;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return str::kFileErrorAccessDenied;
        case EIO:
            return str::kFileErrorHardware;
        case ENOSPC:
            return str::kFileErrorDiskFull;
        default:
            return str::kFileErrorGeneric;
    }
}

void OpenInViewer(CMainFrame& frame, const std::string& path) {
    auto document = std::make_unique<CFileDoc>(path);
    CFileDoc* doc = document.get();
    frame.AddDocument(std::move(document));
    doc->Load(frame.ui());
    UpdateWindowCommands(frame);
}

}  // namespace kov
