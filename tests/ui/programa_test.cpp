// The built program: `fenwa FICHERO` with the picture hook starts, loads the file, saves the
// main window's picture and ends, also when a file on the command line cannot be read.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Programa() { return QStringLiteral(FENWA_BIN_DIR "/fenwa"); }

}  // namespace

TEST(Programa, OpensTheExampleAndSavesItsPicture) {
  if (!QFileInfo::exists(Programa())) GTEST_SKIP() << "fenwa not built";
  struct Caso {
    QStringList argumentos;
  };
  const QString ejemplo = QStringLiteral(FENWA_SOURCE_DIR "/examples/NileMin.sam");
  const Caso casos[] = {{{ejemplo}}, {{QStringLiteral("/no/existe.sam"), ejemplo}}, {{}}};
  for (const Caso& c : casos) {
    QTemporaryDir dir;
    const QString captura = dir.filePath("captura.png");
    QProcess proceso;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert("QT_QPA_PLATFORM", "offscreen");
    entorno.insert("FENWA_CAPTURA", captura);
    entorno.insert("FENWA_CAPTURA_SALIR", "1");
    proceso.setProcessEnvironment(entorno);
    proceso.start(Programa(), c.argumentos);
    ASSERT_TRUE(proceso.waitForFinished(30000)) << c.argumentos.join(' ').toStdString();
    EXPECT_EQ(proceso.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(proceso.exitCode(), 0);
    QImage imagen(captura);
    EXPECT_EQ(imagen.size(), QSize(464, 341));
  }
}
