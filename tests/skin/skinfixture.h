#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

// Writes the skin settings and a template with known element sizes into the "skin" folder
// beside the test executable, where the skin object looks for them. Borders: top 30 high,
// corners 8 wide, left and right `side` wide, bottom 8 high; buttons 20 x 16. Colours are
// plain so pixels can be told apart.
namespace SkinFixture {

inline QString skinDir()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/skin");
}

inline void writeFile(const QString &name, const QString &text)
{
    QDir().mkpath(skinDir());
    QFile f(skinDir() + QLatin1Char('/') + name);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text.toUtf8());
}

inline void writeSettings(const QString &body)
{
    writeFile(QStringLiteral("skin.dat"), QStringLiteral("[Skin]\n") + body);
}

inline void writeTemplate(const QString &name = QStringLiteral("test.svg"), int side = 8)
{
    const QString s = QString::number(side);
    QString svg = QStringLiteral(
        "<svg xmlns='http://www.w3.org/2000/svg' width='400' height='200'>"
        // The top-left corner is cut off: transparent there, so masked out.
        "<path id='border_topleft' d='M4 0 H8 V30 H0 V4 Z' fill='#ff0000'/>"
        "<rect id='border_top' x='10' y='0' width='100' height='30' fill='#0000ff'/>"
        "<rect id='border_topright' x='120' y='0' width='8' height='30' fill='#0000ff'/>"
        "<rect id='border_left' x='130' y='0' width='%1' height='50' fill='#00ff00'/>"
        "<rect id='border_right' x='150' y='0' width='%1' height='50' fill='#00ff00'/>"
        "<rect id='border_bottomleft' x='170' y='0' width='8' height='8' fill='#ff8000'/>"
        "<rect id='border_bottom' x='180' y='0' width='100' height='8' fill='#ff8000'/>"
        "<rect id='border_bottomright' x='290' y='0' width='8' height='8' fill='#ff8000'/>");
    svg = svg.arg(s);
    const char *looks[] = {"normal", "hover", "pressed"};
    const char *colours[] = {"#ffff00", "#00ffff", "#ff00ff"};
    int y = 60;
    for (const char *button : {"minimize", "maximize", "close"}) {
        for (int i = 0; i < 3; ++i) {
            svg += QStringLiteral("<rect id='%1_button_%2' x='%3' y='%4' width='20' height='16' "
                                  "fill='%5'/>")
                       .arg(QLatin1String(button), QLatin1String(looks[i]))
                       .arg(i * 30)
                       .arg(y)
                       .arg(QLatin1String(colours[i]));
        }
        y += 20;
    }
    svg += QStringLiteral("</svg>");
    writeFile(name, svg);
}

} // namespace SkinFixture
