#include "ui/copy/form3.h"

namespace sonolabe {

Form3::Form3(TitleStore &store, QWidget *parent) : QDialog(parent), m_store(store)
{
    setObjectName(QStringLiteral("Form3"));
}

} // namespace sonolabe
