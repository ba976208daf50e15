// The editor window.
#pragma once

#include <QMainWindow>

namespace sonolabe {

class Session;

class Form2 : public QMainWindow
{
    Q_OBJECT
public:
    explicit Form2(Session &session, QWidget *parent = nullptr);

private:
    Session &m_session;
};

} // namespace sonolabe
