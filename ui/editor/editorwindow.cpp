// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/editorwindow.h"

#include "model/languagecopy.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/common/look.h"
#include "ui/common/noinputmethod.h"
#include "ui/common/resources.h"
#include "ui/common/trackentry.h"
#include "ui/copy/copydialog.h"
#include "ui/editor/singlelineinput.h"
#include "ui/trackcount/trackcountdialog.h"

#include <QAccessible>
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

QString languageName(Language language)
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

} // namespace

EditorWindow::EditorWindow(TitleStore &store, Beeper &beeper, QWidget *parent)
    : QMainWindow(parent), m_store(store), m_beeper(beeper)
{
    setObjectName(u"editorWindow"_s);
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

    startEditing();
}

EditorWindow::~EditorWindow()
{
    // The boxes outlive this part of the window: an input method that
    // commits its unfinished text as the focused box goes away must not
    // write into the store (which may hold another disc by then) through a
    // half-destroyed window.
    for (const BoxPair *pair : {&m_discNameEdit, &m_artistEdit, &m_titleEdit}) {
        for (QLineEdit *box : *pair)
            box->disconnect(this);
    }
}

void EditorWindow::createControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(u"clientArea"_s);
    m_client->setFixedSize(twips(ClientWidthTwips), twips(ClientHeightTwips));
    setCentralWidget(m_client);

    // The controls are created in their tab order, which is the order of the
    // window's focus chain; labels and the frame never take the focus, and
    // hidden or disabled controls are skipped.
    createMoveButtonsAndList();
    createBoxes(Japanese);
    createLanguageFrame();
    createCaptions();
    createBoxes(English);
    connectControls();
}

void EditorWindow::createMoveButtonsAndList()
{
    m_moveDownButton = new QPushButton(u"下へ"_s, m_client);
    m_moveDownButton->setObjectName(u"moveDownButton"_s);
    m_moveDownButton->setGeometry(twipsRect(120, 3840, 855, 375));
    m_moveDownButton->setAutoDefault(false);

    m_moveUpButton = new QPushButton(u"上へ"_s, m_client);
    m_moveUpButton->setObjectName(u"moveUpButton"_s);
    m_moveUpButton->setGeometry(twipsRect(120, 3360, 855, 375));
    m_moveUpButton->setAutoDefault(false);

    m_trackList = new QListWidget(m_client);
    m_trackList->setObjectName(u"trackList"_s);
    m_trackList->setGeometry(twipsRect(BoxLeftTwips, 1320, BoxWidthTwips, 2940));
    m_trackList->setFont(gothicFont());
    m_trackList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_trackList->setUniformItemSizes(true);
    m_trackList->setTextElideMode(Qt::ElideNone);
    m_trackList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_trackList->setItemDelegate(new OneLineEntries(m_trackList));
}

// The Japanese boxes come in the tab order from the title up, the English
// ones from the disc name down. The disc name and the artist share one line
// of the file, with a Tab between them; a title has its line to itself.
void EditorWindow::createBoxes(Language language)
{
    const auto title = [&] {
        m_titleEdit[language] =
            createBox(u"titleEdit"_s, u"曲名"_s, language, 960, Separators::LineBreaks);
    };
    const auto discName = [&] {
        m_discNameEdit[language] = createBox(u"discNameEdit"_s, u"ディスク名"_s, language, 120,
                                             Separators::LineBreaksAndTabs);
    };
    language == Japanese ? title() : discName();
    m_artistEdit[language] =
        createBox(u"artistEdit"_s, u"作者名"_s, language, 480, Separators::LineBreaksAndTabs);
    language == Japanese ? discName() : title();
}

void EditorWindow::createLanguageFrame()
{
    m_languageFrame = new EtchedFrame(u"入力中"_s, m_client);
    m_languageFrame->setObjectName(u"languageFrame"_s);
    m_languageFrame->setGeometry(twipsRect(120, 1800, 855, 615));

    m_languageLabel = addLabel(m_languageFrame, u"languageLabel"_s, languageName(Japanese),
                               twipsRect(80, 240, 735, 255), Qt::AlignHCenter | Qt::AlignVCenter);
    m_languageLabel->setFont(uiGothicFont(9.75, QFont::Bold));
    QPalette red = m_languageLabel->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_languageLabel->setPalette(red);
    m_languageLabel->installEventFilter(this);
}

void EditorWindow::createCaptions()
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    m_titleLabel =
        addLabel(m_client, u"titleLabel"_s, u"曲名："_s, twipsRect(360, 960, 615, 255), right);
    m_artistLabel =
        addLabel(m_client, u"artistLabel"_s, u"作者名："_s, twipsRect(240, 480, 735, 255), right);
    m_discNameLabel = addLabel(m_client, u"discNameLabel"_s, u"ﾃﾞｨｽｸ名："_s,
                               twipsRect(120, 120, 855, 255), right);
}

void EditorWindow::connectControls()
{
    connect(m_trackList, &QListWidget::currentRowChanged, this, &EditorWindow::onTrackSelected);
    // A click beside the selected entry, or Ctrl with a click on it, would
    // leave the list without a selection; the current entry stays selected.
    connect(m_trackList, &QListWidget::itemSelectionChanged, this, [this] {
        QListWidgetItem *current = m_trackList->currentItem();
        if (current && !current->isSelected())
            current->setSelected(true);
    });
    connect(m_moveUpButton, &QPushButton::clicked, this, &EditorWindow::moveTitleUp);
    connect(m_moveDownButton, &QPushButton::clicked, this, &EditorWindow::moveTitleDown);
    for (Language i : {Japanese, English}) {
        connect(m_discNameEdit[i], &QLineEdit::textChanged, this,
                [this, i] { onDiscNameEdited(i); });
        connect(m_artistEdit[i], &QLineEdit::textChanged, this, [this, i] { onArtistEdited(i); });
        connect(m_titleEdit[i], &QLineEdit::textChanged, this, [this, i] { onTitleEdited(i); });
        m_titleEdit[i]->installEventFilter(this);
    }
}

QLineEdit *EditorWindow::createBox(const QString &name, const QString &caption, Language language,
                                   int topTwips, Separators separators)
{
    auto *box = new QLineEdit(m_client);
    box->setObjectName(name + languageSuffix(language));
    // Both languages' boxes share one caption; a screen reader tells them
    // apart by the language.
    box->setAccessibleName(caption + u" ("_s + languageName(language) + u')');
    box->setGeometry(twipsRect(BoxLeftTwips, topTwips, BoxWidthTwips, BoxHeightTwips));
    box->setFont(gothicFont());
    new SingleLineInput(box, separators);
    // No Japanese input in the English boxes; the Japanese boxes leave the
    // input method as the user set it.
    if (language == English)
        refuseInputMethod(box);
    return box;
}

void EditorWindow::createMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(u"menuBar"_s);

    m_fileMenu = bar->addMenu(u"ファイル(&F)"_s);
    m_fileMenu->setObjectName(u"fileMenu"_s);
    m_fileMenu->menuAction()->setObjectName(u"fileMenuAction"_s);

    m_newOrOpenAction =
        m_fileMenu->addAction(u"新規・開く(&N)"_s, this, &EditorWindow::showNewOrOpen);
    m_newOrOpenAction->setObjectName(u"newOrOpenAction"_s);
    m_trackCountAction =
        m_fileMenu->addAction(u"曲数変更(&C)"_s, this, &EditorWindow::changeTrackCount);
    m_trackCountAction->setObjectName(u"trackCountAction"_s);
    m_saveAction = m_fileMenu->addAction(u"保存(&S)"_s, this, &EditorWindow::save);
    m_saveAction->setObjectName(u"saveAction"_s);
    m_saveAndQuitAction =
        m_fileMenu->addAction(u"保存して終了(&B)"_s, this, &EditorWindow::saveAndQuit);
    m_saveAndQuitAction->setObjectName(u"saveAndQuitAction"_s);
    m_fileMenuSeparator = m_fileMenu->addSeparator();
    m_fileMenuSeparator->setObjectName(u"fileMenuSeparator"_s);
    m_quitAction = m_fileMenu->addAction(u"終了(&X)"_s, this, &EditorWindow::quitRequested);
    m_quitAction->setObjectName(u"quitAction"_s);

    // Commands on the menu bar itself, without a drop-down.
    m_copyAction = bar->addAction(u"コピー(&C)"_s, this, &EditorWindow::showCopyDialog);
    m_copyAction->setObjectName(u"copyAction"_s);
    m_languageAction =
        bar->addAction(languageName(Japanese) + u"(&L)"_s, this, &EditorWindow::switchLanguage);
    m_languageAction->setObjectName(u"languageAction"_s);
}

bool EditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_languageLabel && event->type() == QEvent::MouseButtonDblClick) {
        // The second press of a double click: its release is no new click.
        m_labelDoubleClicked = true;
    } else if (watched == m_languageLabel && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !std::exchange(m_labelDoubleClicked, false) &&
            m_languageLabel->rect().contains(mouse->position().toPoint()))
            switchLanguage();
    } else if (event->type() == QEvent::KeyPress) {
        for (int i : {Japanese, English}) {
            if (watched == m_titleEdit[i])
                onTitleKeyPressed(static_cast<QKeyEvent *>(event)->key());
        }
    }
    // The box still gets every key, Enter included.
    return QMainWindow::eventFilter(watched, event);
}

void EditorWindow::startEditing()
{
    setWindowTitle(ProgramTitle + u' ' + QString::number(SONOLABE_VERSION_MAJOR) + u'.' +
                   QString::number(SONOLABE_VERSION_MINOR));
    m_currentTrack = 1;
    m_shownLanguage = Japanese;
    for (int i : {Japanese, English}) {
        const QCursor pointer = i == Japanese ? japanesePointer() : englishPointer();
        m_discNameEdit[i]->setCursor(pointer);
        m_artistEdit[i]->setCursor(pointer);
        m_titleEdit[i]->setCursor(pointer);
    }
    // The window is not visible yet, so the redraw leaves the focus alone; on
    // showing, it goes to the first control of the tab order that takes it.
    refreshEditor();
}

void EditorWindow::refreshEditor()
{
    showLanguageName();
    refillTrackList();
    refillBoxes();
    updateMoveButtons();
    if (isVisible())
        m_discNameEdit[m_shownLanguage]->setFocus();
}

void EditorWindow::showLanguageName()
{
    const QString shownName = languageName(m_shownLanguage);
    m_languageLabel->setText(shownName);
    m_languageAction->setText(shownName + u"(&L)"_s);
    // A screen reader hears the switch: the changed name is announced (Qt
    // 6.4 sets a widget's accessible name without telling anyone).
    m_languageLabel->setAccessibleName(u"入力中の言語: "_s + shownName);
    QAccessibleEvent nameChanged(m_languageLabel, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    m_trackList->setAccessibleName(u"曲の一覧 ("_s + shownName + u')');
    // The captions stand for the boxes of the language shown.
    m_discNameLabel->setBuddy(m_discNameEdit[m_shownLanguage]);
    m_artistLabel->setBuddy(m_artistEdit[m_shownLanguage]);
    m_titleLabel->setBuddy(m_titleEdit[m_shownLanguage]);
}

void EditorWindow::refillTrackList()
{
    {
        // Emptying and filling the list selects nothing; the selection event
        // runs once, below, for track 1.
        const QSignalBlocker quiet(m_trackList);
        m_trackList->clear();
        const int count = m_store.trackCount;
        const Language language = m_shownLanguage;
        for (int track = 1; track <= count; ++track)
            m_trackList->addItem(trackEntry(track, m_store.trackTitles(language, track)));
        m_trackList->setCurrentRow(-1);
    }
    if (m_store.trackCount > 0) {
        m_trackList->setCurrentRow(0);
    } else {
        // A disc without tracks: no track is current and the title box has
        // nothing to show or write.
        m_currentTrack = 0;
    }
}

// The boxes of the language shown, with the disc's texts and track 1's title;
// the other language's boxes hidden.
void EditorWindow::refillBoxes()
{
    const Language language = m_shownLanguage;
    SingleLineInput::setTextAsIs(m_discNameEdit[language], m_store.discNames[language]);
    SingleLineInput::setTextAsIs(m_artistEdit[language], m_store.artistNames[language]);
    SingleLineInput::setTextAsIs(m_titleEdit[language], m_store.trackCount > 0
                                                            ? m_store.trackTitles(language, 1)
                                                            : QString());
    for (QLineEdit *box : m_titleEdit)
        box->setEnabled(m_store.trackCount > 0);

    const Language other = otherLanguage(language);
    m_discNameEdit[other]->hide();
    m_artistEdit[other]->hide();
    m_titleEdit[other]->hide();
    m_discNameEdit[language]->show();
    m_artistEdit[language]->show();
    m_titleEdit[language]->show();
}

void EditorWindow::finishTyping()
{
    for (QLineEdit *box : m_titleEdit)
        SingleLineInput::finishComposition(box);
}

void EditorWindow::onTrackSelected(int row)
{
    // Nothing is selected only while the list is emptied.
    if (row < 0)
        return;
    finishTyping();
    m_currentTrack = row + 1;
    const Language language = m_shownLanguage;
    SingleLineInput::setTextAsIs(m_titleEdit[language],
                                 m_store.trackTitles(language, m_currentTrack));
    updateMoveButtons();
}

void EditorWindow::updateMoveButtons()
{
    const int row = m_trackList->currentRow();
    m_moveUpButton->setEnabled(row > 0);
    m_moveDownButton->setEnabled(row >= 0 && row < m_trackList->count() - 1);
}

void EditorWindow::switchLanguage()
{
    finishTyping();
    m_shownLanguage = otherLanguage(m_shownLanguage);
    m_beeper.beep();
    refreshEditor();
}

void EditorWindow::onDiscNameEdited(Language language)
{
    m_store.discNames[language] = m_discNameEdit[language]->text();
}

void EditorWindow::onArtistEdited(Language language)
{
    m_store.artistNames[language] = m_artistEdit[language]->text();
}

void EditorWindow::onTitleEdited(Language language)
{
    const int track = m_currentTrack;
    if (track < 1 || track > m_store.trackCount)
        return;
    QString &title = m_store.trackTitles(language, track);
    title = m_titleEdit[language]->text();
    // Rewriting the entry in place keeps the selection and raises no
    // selection event.
    if (QListWidgetItem *entry = m_trackList->item(track - 1))
        entry->setText(trackEntry(track, title));
}

void EditorWindow::onTitleKeyPressed(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    finishTyping();
    const int count = m_store.trackCount;
    if (count == 0)
        return;
    if (m_currentTrack >= count) {
        m_trackList->setCurrentRow(0);
        m_currentTrack = 1;
    } else {
        ++m_currentTrack;
        m_trackList->setCurrentRow(m_currentTrack - 1);
    }
}

void EditorWindow::moveTitleUp()
{
    finishTyping();
    const int row = m_trackList->currentRow();
    if (row < 1)
        return;
    // The entry at row shows track row + 1; the track above it is row.
    m_store.moveTitle(m_shownLanguage, row, row + 1);
    refreshEditor();
    m_trackList->setCurrentRow(row - 1);
    m_trackList->setFocus();
}

void EditorWindow::moveTitleDown()
{
    finishTyping();
    const int row = m_trackList->currentRow();
    if (row < 0 || row + 1 >= m_store.trackCount)
        return;
    m_store.moveTitle(m_shownLanguage, row + 1, row + 2);
    refreshEditor();
    m_trackList->setCurrentRow(row + 1);
    m_trackList->setFocus();
}

void EditorWindow::showNewOrOpen()
{
    finishTyping();
    Q_EMIT newOrOpenRequested();
}

void EditorWindow::changeTrackCount()
{
    finishTyping();
    {
        TrackCountDialog dialog(m_store.trackCount, this);
        if (dialog.exec() == QDialog::Accepted)
            m_store.setTrackCount(dialog.trackCount());
    }
    refreshEditor();
}

void EditorWindow::save()
{
    finishTyping();
    Q_EMIT saveRequested();
}

void EditorWindow::saveAndQuit()
{
    finishTyping();
    Q_EMIT saveAndQuitRequested();
}

void EditorWindow::showCopyDialog()
{
    finishTyping();
    {
        CopyDialog dialog(m_store, this);
        if (dialog.exec() == QDialog::Accepted)
            copyBetweenLanguages(m_store, dialog.request());
    }
    refreshEditor();
}

} // namespace sonolabe
