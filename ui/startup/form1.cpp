// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/startup/form1.h"

#include "model/titlestore.h"
#include "ui/common/filedialog.h"
#include "ui/common/look.h"
#include "ui/session.h"
#include "ui/startup/loadtitlefile.h"
#include "ui/startup/trackcountfield.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

// Qt takes a filter's patterns from its last parentheses and, with the
// details hidden, shows only the text before them. So the list reads
// "ﾃｷｽﾄﾌｧｲﾙ(*.TXT)" and "すべてのﾌｧｲﾙ(*.*)" word for word while the patterns
// are "*.txt" (matched without regard to case) and "*": every file, also one
// without a dot in its name, which "*.*" would hide.
QStringList openFileFilters()
{
    return {u"ﾃｷｽﾄﾌｧｲﾙ(*.TXT) (*.txt)"_s, u"すべてのﾌｧｲﾙ(*.*) (*)"_s};
}

// The open-file dialog over owner: the full path of an existing file chosen,
// or nothing when the user cancelled.
std::optional<QString> chooseTitleFileToOpen(QWidget *owner)
{
    FileDialogRequest request;
    request.filters = openFileFilters();
    const std::optional<FileDialogChoice> choice = runFileDialog(owner, request);
    if (!choice)
        return std::nullopt;
    return choice->path;
}

} // namespace

Form1::Form1(Session &session, QWidget *parent) : QDialog(parent), m_session(session)
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Sonolabe"_s);
    setFont(uiGothicFont());
    setFixedDialogFrame(this, 4680, 3195);

    Label1 = new QLabel(u"CD-TEXT 曲ファイルの作成方法を選択してください。"_s, this);
    Label1->setObjectName(u"Label1"_s);
    Label1->setGeometry(twipsRect(240, 240, 4095, 255));

    Option1 = new QRadioButton(u"新規作成(&N)"_s, this);
    Option1->setObjectName(u"Option1"_s);
    Option1->setGeometry(twipsRect(360, 840, 1575, 255));

    Label3 = new QLabel(u"曲数："_s, this);
    Label3->setObjectName(u"Label3"_s);
    Label3->setGeometry(twipsRect(840, 1240, 615, 255));

    Text4 = new TrackCountField(this);
    Text4->setGeometry(twipsRect(1320, 1200, 855, 285));

    Label2 = new QLabel(u"曲"_s, this);
    Label2->setObjectName(u"Label2"_s);
    Label2->setGeometry(twipsRect(2280, 1240, 735, 255));

    Option2 = new QRadioButton(u"既存のファイルを開く(&O)"_s, this);
    Option2->setObjectName(u"Option2"_s);
    Option2->setGeometry(twipsRect(360, 1800, 2535, 255));

    addEtchedLine(this, 120, 4440, 2280);

    Command2 = new QPushButton(u"ｷｬﾝｾﾙ"_s, this);
    Command2->setObjectName(u"Command2"_s);
    Command2->setGeometry(twipsRect(840, 2520, 1215, 375));

    Command1 = new QPushButton(u"OK"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command1->setGeometry(twipsRect(2640, 2520, 1215, 375));
    Command1->setDefault(true);

    // Field first, so it holds the focus when the dialog opens.
    setTabOrder(Text4, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Command1);
    setTabOrder(Command1, Command2);
    Text4->setFocus();

    Option1->setChecked(true);
    connect(Option1, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            Option2_Click();
    });
    Text4->setKeyPressHandler([this](int &code) { Text4_KeyPress(code); });
    connect(Text4, &QLineEdit::textChanged, this, [this] { Text4_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    Form_Load();
}

void Form1::Form_Load()
{
    // OK follows the (empty) field from the start.
    Text4_Change();
}

void Form1::Text4_KeyPress(int &KeyAscii)
{
    ApplyTrackCountKeyRule(KeyAscii);
}

void Form1::Text4_Change()
{
    ApplyTrackCountChangeRule(Text4, Command1, blnInChange);
}

void Form1::Option1_Click()
{
    Text4->setEnabled(true);
    Text4_Change();
}

void Form1::Option2_Click()
{
    // The count is kept for a return to "new"; opening a file needs none.
    Text4->setEnabled(false);
    Command1->setEnabled(true);
}

void Form1::Command1_Click()
{
    TitleStore &store = m_session.store();
    if (Option1->isChecked()) {
        const TrackCountChange field = TrackCountChangeRule(Text4->text());
        if (!field.okEnabled)
            return;
        store.clearTexts();
        store.trackCount = quint8(TrackCountValue(field.text));
    } else {
        QPointer<Form1> self(this);
        const bool opened = OpenExistingFile();
        if (!self || !opened)
            return;
    }
    // The fresh editor is shown before this dialog closes, so the program
    // never runs out of windows on the way and does not end.
    m_session.openEditor();
    accept();
}

void Form1::Command2_Click()
{
    reject();
}

bool Form1::OpenExistingFile()
{
    QPointer<Form1> self(this);
    const std::optional<QString> path = chooseTitleFileToOpen(this);
    if (!self || !path)
        return false;
    // A file that fails to load does not become the current file: the next
    // save must not offer to overwrite it with the disc on screen.
    TitleStore &store = m_session.store();
    if (!LoadTitleFile(this, *path, store, m_session.beeper()))
        return false;
    store.currentFilePath = *path;
    return true;
}

} // namespace sonolabe
