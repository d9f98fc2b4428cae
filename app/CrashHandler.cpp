#include "app/CrashHandler.h"

#include <QApplication>
#include <QMessageBox>

QString CrashHandler::dumpFileName(const QDateTime &start)
{
    return start.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss-")) + QStringLiteral("dump") +
           QStringLiteral(".dmp");
}

QString CrashHandler::messageTitle()
{
    return QString::fromUtf8("程式崩溃");
}

QString CrashHandler::messageText(const QString &code, const QString &address)
{
    return QString::fromUtf8("<FONT size=4><div><b>对于发生的错误，致歉</b><br/></div>") +
           QString::fromUtf8("<div>错误代码:%1</div><div>错误地址:%2</div></FONT>")
               .arg(code, address);
}

int CrashHandler::runReport(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    // The arguments land in rich text: escape whatever the command line holds.
    const QString code = args.value(2).toHtmlEscaped();
    const QString address = args.value(3).toHtmlEscaped();
    QMessageBox box(QMessageBox::Critical, messageTitle(), messageText(code, address),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::RichText);
    box.exec();
    return 0;
}
