// The committed pictures are exactly what the generator draws: regenerating into a temporary folder
// gives byte-identical files (the @2x variants too), and the folder holds no picture the generator no
// longer draws.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class ArtRegenerationTest : public QObject
{
    Q_OBJECT

private slots:
    void generatorReproducesCommittedArt();
};

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Guards against hand-edited pictures and against a generator change whose output was not committed
// (run the target `regenerate-art` after changing tools/artgen).
void ArtRegenerationTest::generatorReproducesCommittedArt()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const QString sheet = out.filePath(QStringLiteral("art-sheet.png"));
    const QString pictures = out.filePath(QStringLiteral("art"));

    QProcess generator;
    generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    generator.start(QStringLiteral(QXO_ARTGEN), {pictures, QStringLiteral("--sheet"), sheet});
    QVERIFY(generator.waitForFinished(120000));
    QCOMPARE(generator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(generator.exitCode(), 0);

    const QStringList drawn = QDir(pictures).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    const QStringList committed =
        QDir(QStringLiteral(QXO_ART_DIR)).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    QCOMPARE(drawn, committed);
    QVERIFY(drawn.size() >= 38);
    // Every window and control picture comes with its double-density variant (the icons have their
    // own sizes).
    for (const QString &name : drawn) {
        if (name.contains(QLatin1Char('@')) || name.startsWith(QStringLiteral("icon")))
            continue;
        const QString variant = QString(name).replace(QStringLiteral(".png"), QStringLiteral("@2x.png"));
        QVERIFY2(drawn.contains(variant), qPrintable(variant + QStringLiteral(" is not drawn")));
    }
    for (const QString &name : drawn) {
        const QByteArray fresh = contents(QDir(pictures).filePath(name));
        QVERIFY2(!fresh.isEmpty(), qPrintable(name));
        QVERIFY2(fresh == contents(QDir(QStringLiteral(QXO_ART_DIR)).filePath(name)),
                 qPrintable(name + QStringLiteral(" differs from the generator's output")));
    }
    QVERIFY2(contents(sheet) == contents(QStringLiteral(QXO_ART_SHEET)), "docs/art-sheet.png is out of date");
}

QTEST_GUILESS_MAIN(ArtRegenerationTest)
#include "tst_ArtRegeneration.moc"
