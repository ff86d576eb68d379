// Renders the program's SVG icon as the PNG files of the hicolor theme: DIR/NxN/apps/ondix.png for each size N.
// Usage: ondix_icone ICON.svg DIR N...
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: ondix_icone ICON.svg DIR SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "ondix_icone: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int lato = std::atoi(argv[i]);
        if (lato <= 0) return 2;
        QImage immagine(lato, lato, QImage::Format_ARGB32_Premultiplied);
        immagine.fill(Qt::transparent);
        QPainter p(&immagine);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p);
        p.end();
        const QString cartella = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(lato);
        if (!QDir().mkpath(cartella) || !immagine.save(cartella + QStringLiteral("/ondix.png"), "PNG")) {
            std::fprintf(stderr, "ondix_icone: cannot write %s\n", qPrintable(cartella));
            return 1;
        }
    }
    return 0;
}
