#include "ui/editor/form2.h"

#include "ui/session.h"

namespace sonolabe {

Form2::Form2(Session &session, QWidget *parent) : QMainWindow(parent), m_session(session)
{
    setObjectName(QStringLiteral("Form2"));
}

} // namespace sonolabe
