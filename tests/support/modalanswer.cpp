#include "modalanswer.h"

#include <QApplication>
#include <QTimer>

namespace TestModal {

void answer(const std::function<bool(QWidget *)> &handler)
{
    QTimer::singleShot(10, [handler] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !handler(modal))
            answer(handler);
    });
}

} // namespace TestModal
