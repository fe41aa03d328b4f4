// qov-update: the holiday update in a program of its own, the only one that
// links Qt Network. The window and `qov --update-holidays` start it (see
// holidays/updatejob.h for its arguments and output).
#include <QCoreApplication>
#include <cstdio>

#include "holidays/holidayupdate.h"

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"qov"_s);  // the folders are qov's
    QStringList arguments = QCoreApplication::arguments().mid(1);
    CHolidayUpdate update;
    if (arguments.size() >= 2 && arguments.first() == u"--holiday-source"_s) {
        update.setSource(arguments.at(1));
        arguments.remove(0, 2);
    }
    QList<int> years;
    for (const QString& argument : arguments) {
        bool ok = false;
        years.append(argument.toInt(&ok));
        if (!ok || years.last() < 1900 || years.last() > 2100) {
            std::fputs("usage: qov-update [--holiday-source URL] YEAR...\n", stderr);
            return 2;
        }
    }
    int status = 0;
    QObject::connect(&update, &CHolidayUpdate::finished,
        [&status](const QStringList& changed, const QString& error) {
            for (const QString& line : changed) std::printf("%s\n", line.toUtf8().constData());
            if (!error.isEmpty()) std::fprintf(stderr, "%s\n", error.toUtf8().constData());
            status = error.isEmpty() ? 0 : 1;
            QCoreApplication::quit();
        });
    update.Start(years);
    QCoreApplication::exec();
    return status;
}
