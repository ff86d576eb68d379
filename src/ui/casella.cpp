#include "ui/casella.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace ondix {

namespace {

class FiltroNumero : public QObject {
public:
    explicit FiltroNumero(QLineEdit* casella) : QObject(casella), m_casella(casella) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o != m_casella) return false;
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->text() == QLatin1String(",")) {
                // The same key, typing a point: the box's own editing does the rest (selection, undo, limits).
                QKeyEvent punto(QEvent::KeyPress, Qt::Key_Period, k->modifiers(), QStringLiteral("."),
                                k->isAutoRepeat(), static_cast<ushort>(k->count()));
                QCoreApplication::sendEvent(m_casella, &punto);
                return true;
            }
        } else if (e->type() == QEvent::FocusIn) {
            // A click places the cursor where it falls; any other way in selects the whole text.
            if (static_cast<QFocusEvent*>(e)->reason() != Qt::MouseFocusReason) m_casella->selectAll();
        }
        return false;
    }

private:
    QLineEdit* m_casella;
};

} // namespace

void prepara_casella_numero(QLineEdit* casella) {
    casella->installEventFilter(new FiltroNumero(casella));
}

} // namespace ondix
