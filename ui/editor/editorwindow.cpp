// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/form2.h"

#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/common/look.h"
#include "ui/common/resources.h"
#include "ui/common/trackentry.h"
#include "ui/copy/form3.h"
#include "ui/editor/savetitlefile.h"
#include "ui/editor/typedtext.h"
#include "ui/session.h"
#include "ui/trackcount/form4.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>

#include <utility>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

// The title in the caption, before the version.
constexpr QStringView ProgramTitle = u"Sonolabe";

// The client area below the menu bar, in twips.
constexpr int ClientWidthTwips = 6405;
constexpr int ClientHeightTwips = 4425;

// The edit boxes, all of the same size.
constexpr int BoxLeftTwips = 1080;
constexpr int BoxWidthTwips = 5175;
constexpr int BoxHeightTwips = 270;

QString languageName(int language)
{
    return language == Japanese ? u"日本語"_s : u"英語"_s;
}

// A frame in the etched look of the program's other frames and separators:
// a shadow line with a highlight line beside it, the caption over the top
// edge.
class EtchedFrame : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int top = metrics.height() / 2;
        const int right = width() - 1;
        const int bottom = height() - 1;
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(QRect(QPoint(1, top + 1), QPoint(right, bottom)));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(QRect(QPoint(0, top), QPoint(right - 1, bottom - 1)));

        const QRect caption(CaptionIndent, 0, metrics.horizontalAdvance(title()) + 2,
                            metrics.height());
        painter.fillRect(caption, palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, title());
    }

private:
    static constexpr int CaptionIndent = 6;
};

QLabel *createLabel(QWidget *parent, const QString &name, const QString &caption,
                    const QRect &geometry, Qt::Alignment alignment)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    return label;
}

} // namespace

Form2::Form2(Session &session, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_store(session.store())
{
    setObjectName(u"Form2"_s);
    // A fixed single frame: minimize and close, no maximize, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(sonolabeIcon());
    setFont(uiGothicFont());

    createControls();
    createMenu();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (QScreen *shown = screen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        shown->availableGeometry()));
    }

    Form_Load();
}

void Form2::createControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(u"Client"_s);
    m_client->setFixedSize(twips(ClientWidthTwips), twips(ClientHeightTwips));
    setCentralWidget(m_client);

    // The controls are created in their tab order, which is the order of the
    // window's focus chain; labels and the frame never take the focus, and
    // hidden or disabled controls are skipped.
    Command8 = new QPushButton(u"下へ"_s, m_client);
    Command8->setObjectName(u"Command8"_s);
    Command8->setGeometry(twipsRect(120, 3840, 855, 375));
    Command8->setAutoDefault(false);

    Command7 = new QPushButton(u"上へ"_s, m_client);
    Command7->setObjectName(u"Command7"_s);
    Command7->setGeometry(twipsRect(120, 3360, 855, 375));
    Command7->setAutoDefault(false);

    List1 = new QListWidget(m_client);
    List1->setObjectName(u"List1"_s);
    List1->setGeometry(twipsRect(BoxLeftTwips, 1320, BoxWidthTwips, 2940));
    List1->setFont(gothicFont());
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setUniformItemSizes(true);
    List1->setTextElideMode(Qt::ElideNone);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setItemDelegate(new OneLineEntries(List1));

    // The disc name and the artist share one line of the file, with a Tab
    // between them; a title has its line to itself.
    Text3[Japanese] = createBox(u"Text3"_s, Japanese, 960, Separators::LineBreaks);
    Text2[Japanese] = createBox(u"Text2"_s, Japanese, 480, Separators::LineBreaksAndTabs);
    Text1[Japanese] = createBox(u"Text1"_s, Japanese, 120, Separators::LineBreaksAndTabs);

    Frame1 = new EtchedFrame(u"入力中"_s, m_client);
    Frame1->setObjectName(u"Frame1"_s);
    Frame1->setGeometry(twipsRect(120, 1800, 855, 615));

    Label1 = createLabel(Frame1, u"Label1"_s, languageName(Japanese), twipsRect(80, 240, 735, 255),
                         Qt::AlignHCenter | Qt::AlignVCenter);
    Label1->setFont(uiGothicFont(9.75, QFont::Bold));
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label1->setPalette(red);
    Label1->installEventFilter(this);

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    Label12 =
        createLabel(m_client, u"Label12"_s, u"曲名："_s, twipsRect(360, 960, 615, 255), right);
    Label11 =
        createLabel(m_client, u"Label11_0"_s, u"作者名："_s, twipsRect(240, 480, 735, 255), right);
    Label10 =
        createLabel(m_client, u"Label10"_s, u"ﾃﾞｨｽｸ名："_s, twipsRect(120, 120, 855, 255), right);

    Text1[English] = createBox(u"Text1"_s, English, 120, Separators::LineBreaksAndTabs);
    Text2[English] = createBox(u"Text2"_s, English, 480, Separators::LineBreaksAndTabs);
    Text3[English] = createBox(u"Text3"_s, English, 960, Separators::LineBreaks);

    connect(List1, &QListWidget::currentRowChanged, this, &Form2::List1_Click);
    // A click beside the selected entry, or Ctrl with a click on it, would
    // leave the list without a selection; the current entry stays selected.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        QListWidgetItem *current = List1->currentItem();
        if (current && !current->isSelected())
            current->setSelected(true);
    });
    connect(Command7, &QPushButton::clicked, this, &Form2::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form2::Command8_Click);
    for (int i : {Japanese, English}) {
        connect(Text1[i], &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
        connect(Text2[i], &QLineEdit::textChanged, this, [this, i] { Text2_Change(i); });
        connect(Text3[i], &QLineEdit::textChanged, this, [this, i] { Text3_Change(i); });
        Text3[i]->installEventFilter(this);
    }
}

QLineEdit *Form2::createBox(const QString &name, int language, int topTwips, Separators separators)
{
    auto *box = new QLineEdit(m_client);
    box->setObjectName(name + u'_' + QString::number(language));
    box->setGeometry(twipsRect(BoxLeftTwips, topTwips, BoxWidthTwips, BoxHeightTwips));
    box->setFont(gothicFont());
    new SingleLineInput(box, separators);
    // No Japanese input in the English boxes; the Japanese boxes leave the
    // input method as the user set it.
    if (language == English)
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
    return box;
}

void Form2::createMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(u"MenuBar"_s);

    mnuFile = bar->addMenu(u"ファイル(&F)"_s);
    mnuFile->setObjectName(u"mnuFile"_s);
    mnuFile->menuAction()->setObjectName(u"mnuFile"_s);

    mnuNew = mnuFile->addAction(u"新規・開く(&N)"_s, this, &Form2::mnuNew_Click);
    mnuNew->setObjectName(u"mnuNew"_s);
    mnuNumChange = mnuFile->addAction(u"曲数変更(&C)"_s, this, &Form2::mnuNumChange_Click);
    mnuNumChange->setObjectName(u"mnuNumChange"_s);
    mnuSave[0] = mnuFile->addAction(u"保存(&S)"_s, this, [this] { mnuSave_Click(0); });
    mnuSave[0]->setObjectName(u"mnuSave_0"_s);
    mnuSave[1] = mnuFile->addAction(u"保存して終了(&B)"_s, this, [this] { mnuSave_Click(1); });
    mnuSave[1]->setObjectName(u"mnuSave_1"_s);
    mnuS = mnuFile->addSeparator();
    mnuS->setObjectName(u"mnuS"_s);
    mnuExit = mnuFile->addAction(u"終了(&X)"_s, this, &Form2::mnuExit_Click);
    mnuExit->setObjectName(u"mnuExit"_s);

    // Commands on the menu bar itself, without a drop-down.
    mnuCopy = bar->addAction(u"コピー(&C)"_s, this, &Form2::mnuCopy_Click);
    mnuCopy->setObjectName(u"mnuCopy"_s);
    mnuLang = bar->addAction(languageName(Japanese) + u"(&L)"_s, this, &Form2::mnuLang_Click);
    mnuLang->setObjectName(u"mnuLang"_s);
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonDblClick) {
        // The second press of a double click: its release is no new click.
        m_labelDoubleClicked = true;
    } else if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !std::exchange(m_labelDoubleClicked, false) &&
            Label1->rect().contains(mouse->position().toPoint()))
            Label1_Click();
    } else if (event->type() == QEvent::KeyPress) {
        for (int i : {Japanese, English}) {
            if (watched == Text3[i])
                Text3_KeyDown(i, static_cast<QKeyEvent *>(event)->key());
        }
    }
    // The box still gets every key, Enter included.
    return QMainWindow::eventFilter(watched, event);
}

void Form2::Form_Load()
{
    setWindowTitle(ProgramTitle + u' ' + QString::number(SONOLABE_VERSION_MAJOR) + u'.' +
                   QString::number(SONOLABE_VERSION_MINOR));
    m_store.currentTrack = 1;
    m_store.languageMode = Japanese;
    for (int i : {Japanese, English}) {
        const QCursor pointer = i == Japanese ? japanesePointer() : englishPointer();
        Text1[i]->setCursor(pointer);
        Text2[i]->setCursor(pointer);
        Text3[i]->setCursor(pointer);
    }
    // The window is not visible yet, so the redraw leaves the focus alone; on
    // showing, it goes to the first control of the tab order that takes it.
    RefreshEditor();
}

void Form2::RefreshEditor()
{
    Label1->setText(languageName(m_store.languageMode));
    mnuLang->setText(Label1->text() + u"(&L)"_s);

    {
        // Emptying and filling the list selects nothing; the selection event
        // runs once, below, for track 1.
        const QSignalBlocker quiet(List1);
        List1->clear();
        const int count = m_store.trackCount;
        const int language = m_store.languageMode;
        for (int track = 1; track <= count; ++track)
            List1->addItem(TrackEntry(track, m_store.trackTitles(language, track)));
        List1->setCurrentRow(-1);
    }
    if (m_store.trackCount > 0) {
        List1->setCurrentRow(0);
    } else {
        // A disc without tracks: no track is current and the title box has
        // nothing to show or write.
        m_store.currentTrack = 0;
    }

    const int language = m_store.languageMode;
    SingleLineInput::setTextAsIs(Text1[language], m_store.discNames[language]);
    SingleLineInput::setTextAsIs(Text2[language], m_store.artistNames[language]);
    SingleLineInput::setTextAsIs(
        Text3[language], m_store.trackCount > 0 ? m_store.trackTitles(language, 1) : QString());
    for (QLineEdit *box : Text3)
        box->setEnabled(m_store.trackCount > 0);

    const int other = 1 - language;
    Text1[other]->hide();
    Text2[other]->hide();
    Text3[other]->hide();
    Text1[language]->show();
    Text2[language]->show();
    Text3[language]->show();

    UpdateMoveButtons();
    if (isVisible())
        Text1[m_store.languageMode]->setFocus();
}

void Form2::finishTyping()
{
    for (QLineEdit *box : Text3)
        SingleLineInput::finishComposition(box);
}

void Form2::List1_Click(int row)
{
    // Nothing is selected only while the list is emptied.
    if (row < 0)
        return;
    finishTyping();
    m_store.currentTrack = static_cast<quint8>(row + 1);
    const int language = m_store.languageMode;
    SingleLineInput::setTextAsIs(Text3[language],
                                 m_store.trackTitles(language, m_store.currentTrack));
    UpdateMoveButtons();
}

void Form2::UpdateMoveButtons()
{
    const int row = List1->currentRow();
    Command7->setEnabled(row > 0);
    Command8->setEnabled(row >= 0 && row < List1->count() - 1);
}

void Form2::ChangeLanguage()
{
    finishTyping();
    m_store.languageMode = static_cast<quint8>(1 - m_store.languageMode);
    m_session.beeper().beep();
    RefreshEditor();
}

void Form2::Label1_Click()
{
    ChangeLanguage();
}

void Form2::mnuLang_Click()
{
    ChangeLanguage();
}

// A box that shows only the beginning of an overlong text from a file takes
// no edits, and its cut text never replaces the stored one.

void Form2::Text1_Change(int index)
{
    if (SingleLineInput::showsWholeText(Text1[index]))
        m_store.discNames[index] = Text1[index]->text();
}

void Form2::Text2_Change(int index)
{
    if (SingleLineInput::showsWholeText(Text2[index]))
        m_store.artistNames[index] = Text2[index]->text();
}

void Form2::Text3_Change(int index)
{
    const int track = m_store.currentTrack;
    if (track < 1 || track > m_store.trackCount)
        return;
    QString &title = m_store.trackTitles(index, track);
    if (SingleLineInput::showsWholeText(Text3[index]))
        title = Text3[index]->text();
    // Rewriting the entry in place keeps the selection and raises no
    // selection event.
    if (QListWidgetItem *entry = List1->item(track - 1))
        entry->setText(TrackEntry(track, title));
}

void Form2::Text3_KeyDown(int, int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    finishTyping();
    const int count = m_store.trackCount;
    if (count == 0)
        return;
    if (m_store.currentTrack >= count) {
        List1->setCurrentRow(0);
        m_store.currentTrack = 1;
    } else {
        m_store.currentTrack = static_cast<quint8>(m_store.currentTrack + 1);
        List1->setCurrentRow(m_store.currentTrack - 1);
    }
}

void Form2::Command7_Click()
{
    finishTyping();
    const int row = List1->currentRow();
    if (row < 1)
        return;
    // The entry at row shows track row + 1; the track above it is row.
    const int language = m_store.languageMode;
    std::swap(m_store.trackTitles(language, row), m_store.trackTitles(language, row + 1));
    RefreshEditor();
    List1->setCurrentRow(row - 1);
    List1->setFocus();
}

void Form2::Command8_Click()
{
    finishTyping();
    const int row = List1->currentRow();
    if (row < 0 || row + 1 >= m_store.trackCount)
        return;
    const int language = m_store.languageMode;
    std::swap(m_store.trackTitles(language, row + 1), m_store.trackTitles(language, row + 2));
    RefreshEditor();
    List1->setCurrentRow(row + 1);
    List1->setFocus();
}

void Form2::mnuNew_Click()
{
    finishTyping();
    m_session.showStartupDialog();
}

void Form2::mnuNumChange_Click()
{
    finishTyping();
    {
        Form4 dialog(m_store, this);
        dialog.exec();
    }
    RefreshEditor();
}

void Form2::mnuSave_Click(int index)
{
    finishTyping();
    if (SaveTitleFile(this, m_store) && index == 1)
        m_session.quit();
}

void Form2::mnuExit_Click()
{
    m_session.quit();
}

void Form2::mnuCopy_Click()
{
    finishTyping();
    {
        Form3 dialog(m_store, this);
        dialog.exec();
    }
    RefreshEditor();
}

} // namespace sonolabe
