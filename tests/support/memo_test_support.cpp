#include "support/memo_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace vork::testing {

namespace {

std::string Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return process.readAllStandardOutput().toStdString();
}

}  // namespace

void SaveScreenshot(const QImage& image, const std::string& name) {
  const QString folder = QStringLiteral(VORK_BINARY_DIR "/memo-screenshots");
  QDir().mkpath(folder);
  image.save(folder + "/" + QString::fromStdString(name) + ".png");
}

PrintedPdf ReadPdf(const std::string& path) {
  PrintedPdf pdf;
  const QString file = QString::fromStdString(path);
  pdf.text = Run("pdftotext", {"-enc", "UTF-8", file, "-"});
  const QString info = QString::fromStdString(Run("pdfinfo", {"-enc", "UTF-8", file}));
  const auto title = QRegularExpression("^Title:\\s*(.*)$", QRegularExpression::MultilineOption).match(info);
  if (title.hasMatch()) pdf.title = title.captured(1).trimmed().toStdString();
  const auto pages = QRegularExpression("^Pages:\\s*(\\d+)", QRegularExpression::MultilineOption).match(info);
  if (pages.hasMatch()) pdf.pages = pages.captured(1).toInt();
  return pdf;
}

std::string TemporaryPdfPath(const std::string& name) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vork-memo-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / (std::string(test->name()) + "-" + name + ".pdf");
  std::filesystem::remove(file);
  return file.string();
}

PrintToPdf::PrintToPdf(const std::string& path) { ::setenv("VORK_PRINT_PDF", path.c_str(), 1); }
PrintToPdf::~PrintToPdf() { ::unsetenv("VORK_PRINT_PDF"); }

}  // namespace vork::testing
