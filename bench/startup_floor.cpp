// SPDX-License-Identifier: GPL-3.0-or-later
// The floors for start-up, bare Qt Widgets programs that end as soon as they
// are idle:
//   startup_floor               a main window with a 99-entry list and three
//                               line edits (short Latin texts, default font)
//   startup_floor --same-texts  the same window showing what the editor shows
//                               on the benchmark's disc: the 80-character
//                               Japanese titles and names, in the editor's
//                               Japanese font
#include "discs.h"

#include "ui/common/look.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool sameTexts = argc > 1 && QByteArrayView(argv[1]) == "--same-texts";
    const sonolabe::TitleStore disc = sonolabe::bench::fullDisc();
    QMainWindow window;
    auto *client = new QWidget;
    auto *layout = new QVBoxLayout(client);
    const QString boxes[] = {disc.discNames[sonolabe::Japanese],
                             disc.artistNames[sonolabe::Japanese],
                             disc.trackTitles(sonolabe::Japanese, 1)};
    for (int i = 0; i < 3; ++i) {
        auto *box = new QLineEdit(sameTexts ? boxes[i] : QStringLiteral("text %1").arg(i));
        if (sameTexts)
            box->setFont(sonolabe::gothicFont());
        layout->addWidget(box);
    }
    auto *list = new QListWidget;
    if (sameTexts)
        list->setFont(sonolabe::gothicFont());
    for (int i = 1; i <= 99; ++i) {
        const QString title =
            sameTexts ? disc.trackTitles(sonolabe::Japanese, i) : QStringLiteral("title");
        list->addItem(QStringLiteral("%1 ").arg(i, 2, 10, QLatin1Char('0')) + title);
    }
    list->setCurrentRow(0);
    layout->addWidget(list);
    window.setCentralWidget(client);
    window.show();
    QTimer::singleShot(0, &app, [] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); });
    return app.exec();
}
