// The new-or-open dialog.
#pragma once

#include <QDialog>

namespace sonolabe {

class Session;

class Form1 : public QDialog
{
    Q_OBJECT
public:
    explicit Form1(Session &session, QWidget *parent = nullptr);

private:
    Session &m_session;
};

} // namespace sonolabe
