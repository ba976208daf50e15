#include "ui/trackcount/form4.h"

namespace sonolabe {

Form4::Form4(TitleStore &store, QWidget *parent) : QDialog(parent), m_store(store)
{
    setObjectName(QStringLiteral("Form4"));
}

} // namespace sonolabe
