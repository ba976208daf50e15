// The copy dialog: disc name, artist and track titles between the languages.
#pragma once

#include <QDialog>

namespace sonolabe {

struct TitleStore;

class Form3 : public QDialog
{
    Q_OBJECT
public:
    explicit Form3(TitleStore &store, QWidget *parent = nullptr);

private:
    TitleStore &m_store;
};

} // namespace sonolabe
