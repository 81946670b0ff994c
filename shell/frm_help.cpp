#include "frm_help.h"

#include "accessible_names.h"
#include "artwork.h"
#include "courier_font.h"
#include "frame_lines.h"
#include "mouse_label.h"
#include "program_identity.h"
#include "program_texts.h"
#include "regular_file.h"
#include "window_ops.h"

#include <QFile>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

const QString helpFileName = ProgramIdentity::helpFileName;

namespace {

// The text box lays out each line as a whole, in time that grows with the square of its
// length: a megabyte without a line break would hold the program for minutes. Longer lines
// are shown in pieces, cut after the last blank of a piece where it has one.
constexpr qsizetype longestShownLine = 4096;

QString withLongLinesBroken(const QString& text) {
    QString shown;
    shown.reserve(text.size() + text.size() / longestShownLine);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        while (end - start > longestShownLine) {
            const QStringView piece = QStringView(text).sliced(start, longestShownLine);
            const qsizetype blank = piece.lastIndexOf(u' ');
            const qsizetype length = blank > 0 ? blank + 1 : longestShownLine;
            shown += piece.first(length);
            shown += u'\n';
            start += length;
        }
        shown += QStringView(text).sliced(start, end - start);
        if (end < text.size())
            shown += u'\n';
        start = end + 1;
    }
    return shown;
}

// At most the first mebibyte of the file is shown: a help text is far shorter, and a file
// without end (a device put in its place) must not fill the memory.
constexpr qint64 longestShownFile = 1024 * 1024;

// And at most this many lines: the text box spends time and memory on every line, so that a
// mebibyte of nothing but line breaks would hold the program for seconds and take hundreds of
// megabytes.
constexpr qsizetype mostShownLines = 64 * 1024;

// Cuts text after its first mostShownLines lines; false when it has no more.
bool cutToShownLines(QString& text) {
    qsizetype lineEnd = -1;
    for (qsizetype line = 0; line < mostShownLines; ++line) {
        lineEnd = text.indexOf(u'\n', lineEnd + 1);
        if (lineEnd < 0)
            return false;
    }
    text.truncate(lineEnd);
    return true;
}

QString unreadable(const QString& reason) {
    return frmHelp::tr("The help file \"%1\" could not be read: %2.").arg(helpFileName, reason);
}

// The file as it is, bytes taken one to one as characters (NUL and other control bytes
// included); or a short message saying why it could not be shown. CR LF, LF and CR all show as
// one line break.
QString readHelpText() {
    QFile file(helpFileName);
    if (auto reason = openRegularFile(file, QIODevice::ReadOnly))
        return unreadable(*reason);
    QByteArray bytes = file.read(longestShownFile + 1);
    if (file.error() != QFileDevice::NoError)
        return unreadable(file.errorString());
    if (bytes.isEmpty())
        return frmHelp::tr("The help file \"%1\" is empty.").arg(helpFileName);
    const bool cut = bytes.size() > longestShownFile;
    bytes.truncate(longestShownFile);
    QString text = QString::fromLatin1(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text = withLongLinesBroken(text);
    if (cutToShownLines(text))
        text += frmHelp::tr("\n\n[The help file \"%1\" has more than %2 lines: the rest of it "
                            "was left out.]")
                    .arg(helpFileName)
                    .arg(mostShownLines);
    else if (cut)
        text += frmHelp::tr("\n\n[The help file \"%1\" is longer than 1 MiB: the rest of it "
                            "was left out.]")
                    .arg(helpFileName);
    return text;
}

} // namespace

frmHelp::frmHelp(QWidget* parent) : QDialog(parent, Qt::Window | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("%1 Help").arg(ProgramIdentity::rollboxTitle));
    setWindowIcon(dieIcon());
    setFixedSize(514, 441);
    setFont(courierFont(9.75));
    setColours(this, Colours::paleYellow, Colours::green);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Colours::paleYellow);
    colours.setColor(QPalette::Text, Colours::darkGreen);
    setPalette(colours);

    cmdClose = new QPushButton(tr("&Close"), this);
    cmdClose->setGeometry(414, 398, 90, 30);
    cmdClose->setDefault(true);

    txtHelp = new QPlainTextEdit(this);
    txtHelp->setReadOnly(true);
    txtHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtHelp->setFont(courierFont(9.75));
    txtHelp->setGeometry(10, 10, 494, 380);
    txtHelp->setAccessibleName(tr("Help text"));

    Label2 = new MouseLabel(ProgramTexts::ownershipNotice(), this);
    Label2->setFont(courierFont(8.25));
    Label2->setWordWrap(true);
    Label2->setGeometry(10, 396, 396, 34);

    connect(cmdClose, &QPushButton::clicked, this, &frmHelp::cmdClose_Click);
    connect(Label2, &MouseLabel::mouseDown, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            dragWindow(this);
    });
    nameControlsForAccessibility(this);

    Form_Load();
    cmdClose->setFocus();
}

void frmHelp::Form_Load() {
    txtHelp->setPlainText(readHelpText());
}

void frmHelp::cmdClose_Click() {
    close();
}

void frmHelp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrameLines(painter, rect(), Qt::black, 5);
}
