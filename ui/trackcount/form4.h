// The track-count dialog.
#pragma once

#include <QDialog>

namespace sonolabe {

struct TitleStore;

class Form4 : public QDialog
{
    Q_OBJECT
public:
    explicit Form4(TitleStore &store, QWidget *parent = nullptr);

private:
    TitleStore &m_store;
};

} // namespace sonolabe
