// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/copy/copydialog.h"

#include "model/titlestore.h"
#include "ui/common/look.h"
#include "ui/common/trackentry.h"

#include <QCheckBox>
#include <QItemSelection>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringBuilder>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

// The marks of the directions, in the order a direction button steps
// through them.
const std::array<QString, CopyDirectionCount> &directionMarks()
{
    static const std::array<QString, CopyDirectionCount> marks{u"×"_s, u"→"_s, u"←"_s};
    return marks;
}

QPushButton *addButton(QWidget *parent, const QString &name, const QString &text, QRect geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

} // namespace

CopyDialog::CopyDialog(const TitleStore &store, QWidget *parent) : QDialog(parent)
{
    setObjectName(u"copyDialog"_s);
    setWindowTitle(u"コピー"_s);
    setFont(uiGothicFont());
    setFixedDialogFrame(this, 7470, 5115);

    addLabel(this, u"discNameLabel"_s, u"ディスク名："_s, twipsRect(120, 520, 975, 255));
    addLabel(this, u"japaneseHeading"_s, u"日本語"_s, twipsRect(1200, 240, 1815, 255));
    addLabel(this, u"englishHeading"_s, u"英語"_s, twipsRect(4800, 240, 855, 255));
    addLabel(this, u"artistLabel"_s, u"作者名："_s, twipsRect(240, 880, 855, 255));
    addLabel(this, u"titleLabel"_s, u"曲名："_s, twipsRect(240, 1240, 855, 255));
    for (Language language : {Japanese, English})
        createLanguageColumn(store, language);
    createDirectionButtons();
    QPushButton *selectAll =
        addButton(this, u"selectAllButton"_s, u"全て選択"_s, twipsRect(3840, 2520, 855, 375));
    QPushButton *selectNone =
        addButton(this, u"selectNoneButton"_s, u"全て解除"_s, twipsRect(3840, 3000, 855, 375));
    connect(selectAll, &QPushButton::clicked, this, [this] { selectAllTracks(true); });
    connect(selectNone, &QPushButton::clicked, this, [this] { selectAllTracks(false); });

    addEtchedLine(this, 120, 7320, 4320);
    m_blankOnlyBox = new QCheckBox(u"コピー先が空白の部分のみコピー"_s, this);
    m_blankOnlyBox->setObjectName(u"blankOnlyCheckBox"_s);
    m_blankOnlyBox->setGeometry(twipsRect(360, 4560, 3375, 255));
    QPushButton *cancel =
        addButton(this, u"cancelButton"_s, u"ｷｬﾝｾﾙ"_s, twipsRect(4800, 4560, 1095, 375));
    QPushButton *ok = addButton(this, u"okButton"_s, u"OK"_s, twipsRect(6240, 4560, 1095, 375));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    QWidget *const tabOrder[] = {m_trackLists[Japanese],
                                 m_trackLists[English],
                                 m_directionButtons[0],
                                 m_directionButtons[1],
                                 m_directionButtons[2],
                                 ok,
                                 cancel,
                                 m_blankOnlyBox,
                                 selectNone,
                                 selectAll};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_trackLists[Japanese]->setFocus();
}

// The disc name, the artist and the track list of one language.
void CopyDialog::createLanguageColumn(const TitleStore &store, Language language)
{
    const int left = language == Japanese ? 1200 : 4800;
    addLabel(this, u"discNameText"_s % languageSuffix(language), store.discNames[language],
             twipsRect(left, 480, 2535, 255));
    addLabel(this, u"artistText"_s % languageSuffix(language), store.artistNames[language],
             twipsRect(left, 840, 2535, 255));
    auto *list = new QListWidget(this);
    m_trackLists[language] = list;
    list->setObjectName(u"trackList"_s % languageSuffix(language));
    list->setGeometry(twipsRect(left, 1200, 2535, 2940));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setItemDelegate(new OneLineEntries(list));
    list->setAccessibleName(u"曲名 ("_s % (language == Japanese ? u"日本語"_s : u"英語"_s) % u')');
    for (int track = 1; track <= store.trackCount; ++track)
        list->addItem(trackEntry(track, store.trackTitles(language, track)));
    connect(list, &QListWidget::itemSelectionChanged, this,
            [this, language] { followSelection(language); });
}

void CopyDialog::createDirectionButtons()
{
    const std::array<QRect, CopyRowCount> geometry{twipsRect(3840, 480, 855, 255),
                                                   twipsRect(3840, 840, 855, 255),
                                                   twipsRect(3840, 1920, 855, 495)};
    static const std::array<QString, CopyRowCount> names{
        u"discNameDirectionButton"_s, u"artistDirectionButton"_s, u"titleDirectionButton"_s};
    for (int row = 0; row < CopyRowCount; ++row) {
        m_directionButtons[row] =
            addButton(this, names[row], directionMarks()[NoCopy], geometry[row]);
        connect(m_directionButtons[row], &QPushButton::clicked, this,
                [this, row] { stepDirection(row); });
    }
    showDirections();
}

LanguageCopy CopyDialog::request() const
{
    LanguageCopy copy;
    copy.directions = m_directions;
    copy.blankOnly = m_blankOnlyBox->isChecked();
    const QListWidget *list = m_trackLists[Japanese];
    for (int row = 0; row < list->count() && row < MaxTracks; ++row)
        copy.tracks.set(std::size_t(row), list->item(row)->isSelected());
    return copy;
}

void CopyDialog::stepDirection(int row)
{
    m_directions[row] = CopyDirection((m_directions[row] + 1) % CopyDirectionCount);
    showDirections();
}

void CopyDialog::showDirections()
{
    // A screen reader says what a button does for its row, not its mark.
    static const std::array<QString, CopyRowCount> rows{u"ディスク名"_s, u"作者名"_s, u"曲名"_s};
    static const std::array<QString, CopyDirectionCount> meanings{
        u"コピーしない"_s, u"日本語から英語へ"_s, u"英語から日本語へ"_s};
    for (int row = 0; row < CopyRowCount; ++row) {
        QPushButton *button = m_directionButtons[row];
        button->setText(directionMarks()[m_directions[row]]);
        button->setAccessibleName(rows[row] + u": "_s + meanings[m_directions[row]]);
    }
}

// The two lists keep one selection: a change in one is copied into the other.
void CopyDialog::followSelection(Language fromLanguage)
{
    if (m_syncingLists)
        return;
    const QListWidget *from = m_trackLists[fromLanguage];
    QListWidget *to = m_trackLists[otherLanguage(fromLanguage)];
    QItemSelection selection;
    const int lines = qMin(from->count(), to->count());
    for (int row = 0; row < lines; ++row) {
        if (from->item(row)->isSelected()) {
            const QModelIndex line = to->model()->index(row, 0);
            selection.select(line, line);
        }
    }
    m_syncingLists = true;
    // One change of the whole selection; an unchanged selection signals nothing.
    to->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncingLists = false;
}

void CopyDialog::selectAllTracks(bool selected)
{
    m_syncingLists = true;
    for (QListWidget *list : m_trackLists) {
        if (selected)
            list->selectAll();
        else
            list->clearSelection();
    }
    m_syncingLists = false;
}

} // namespace sonolabe
