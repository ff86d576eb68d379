#include "avvio.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace ondix {

namespace {

class PrimoDisegno : public QObject {
public:
    explicit PrimoDisegno(long long partenza_ns) : m_partenza_ns(partenza_ns) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && !m_visto) {
            m_visto = true;
            // Once this paint and the children's have been flushed to the screen.
            QTimer::singleShot(0, this, [this] {
                const auto ora = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::system_clock::now().time_since_epoch())
                                     .count();
                std::printf("%.3f\n", static_cast<double>(ora - m_partenza_ns) / 1e6);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(o, e);
    }

private:
    long long m_partenza_ns;
    bool m_visto = false;
};

} // namespace

void misura_avvio(QWidget& finestra) {
    const char* v = std::getenv("ONDIX_MISURA_AVVIO");
    if (!v || !*v) return;
    auto* filtro = new PrimoDisegno(std::atoll(v));
    filtro->setParent(&finestra);
    finestra.installEventFilter(filtro);
}

} // namespace ondix
