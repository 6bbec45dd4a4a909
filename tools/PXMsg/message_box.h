#pragma once
// The window of the external message program: the reminder's text, kept on
// top until the user closes it.

#include <QDialog>
#include <QString>
#include <QStringList>

namespace plorix::pxmsg {

// The message as the command line carries it: every argument after the
// program's name, joined by blanks (a caller that did not quote the text
// still has all of it shown); line breaks of any kind become new lines.
QString messageFromArguments(const QStringList& arguments);

class MessageBox final : public QDialog {
    Q_OBJECT
public:
    explicit MessageBox(const QString& text, QWidget* parent = nullptr);
};

}  // namespace plorix::pxmsg
