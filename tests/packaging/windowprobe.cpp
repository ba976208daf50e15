// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt generic plugin that the packaging tests load into the installed
// program from outside (QT_PLUGIN_PATH and QT_QPA_GENERIC_PLUGINS): it writes
// what the program's windows show to SONOLABE_WINDOW_PROBE_DIR/<pid>.txt, so
// that a test can tell the editor on a loaded file from an error message
// without any help from the program itself.
//
// The report lists every visible top-level window, its title, and the texts
// of the visible line edits, labels and list entries inside it, one per line:
//
//   window sonolabe::EditorWindow "Sonolabe 5.1"
//     discNameEditJapanese 夏の記憶
//     trackList 01 序曲～朝の光
//
// It is looked at every 50 ms and rewritten (atomically) when it changed.
#include <QApplication>
#include <QDir>
#include <QGenericPlugin>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSaveFile>
#include <QTimer>
#include <QWidget>

namespace {

using namespace Qt::Literals::StringLiterals;

QString describeWindows()
{
    QString report;
    for (const QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        report += u"window "_s % QString::fromLatin1(window->metaObject()->className()) % u" \""_s %
                  window->windowTitle() % u"\"\n"_s;
        for (const QWidget *child : window->findChildren<QWidget *>()) {
            if (!child->isVisible())
                continue;
            const QString name = child->objectName().isEmpty() ? u"-"_s : child->objectName();
            if (const auto *edit = qobject_cast<const QLineEdit *>(child))
                report += u"  "_s % name % u' ' % edit->text() % u'\n';
            else if (const auto *label = qobject_cast<const QLabel *>(child))
                report += u"  "_s % name % u' ' % label->text() % u'\n';
            else if (const auto *list = qobject_cast<const QListWidget *>(child))
                for (int row = 0; row < list->count(); ++row)
                    report += u"  "_s % name % u' ' % list->item(row)->text() % u'\n';
        }
    }
    return report;
}

} // namespace

class WindowProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "windowprobe.json")

public:
    QObject *create(const QString &key, const QString &) override
    {
        const QString directory = qEnvironmentVariable("SONOLABE_WINDOW_PROBE_DIR");
        if (key.compare(u"sonolabewindowprobe"_s, Qt::CaseInsensitive) != 0 || directory.isEmpty())
            return nullptr;
        const QString path = QDir(directory).filePath(
            QString::number(QCoreApplication::applicationPid()) % u".txt"_s);
        auto *timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [path, written = QString()]() mutable {
            const QString report = describeWindows();
            QSaveFile file(path);
            if (report != written && file.open(QIODevice::WriteOnly) &&
                file.write(report.toUtf8()) >= 0 && file.commit())
                written = report;
        });
        timer->start(50);
        return timer;
    }
};

#include "windowprobe.moc"
