#include "ui/startup/form1.h"

#include "ui/session.h"

namespace sonolabe {

Form1::Form1(Session &session, QWidget *parent) : QDialog(parent), m_session(session)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Sonolabe"));
}

} // namespace sonolabe
