#include "points_csv.h"

#include <QFileInfo>
#include <QLocale>

#include "file_chooser.h"
#include "message_presenter.h"
#include "ui_common.h"

namespace tarvelo::ui {

PointsCsv::PointsCsv(PointsFormat format)
    : decimalComma_(format == PointsFormat::SemicolonDecimalComma),
      separator_(decimalComma_ ? ';' : ',') {}

QByteArray PointsCsv::Number(double value) const {
    QByteArray text = QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
    if (decimalComma_) text.replace('.', ',');
    return text;
}

void PointsCsv::AddTitles(const QStringList& titles) {
    text_ += titles.join(QLatin1Char(separator_)).toUtf8() + '\n';
}

void PointsCsv::AddRow(std::initializer_list<std::optional<double>> values) {
    bool first = true;
    for (const std::optional<double>& value : values) {
        if (!first) text_ += separator_;
        first = false;
        if (value) text_ += Number(*value);
    }
    text_ += '\n';
}

bool PointsCsv::Save(const QString& path, QString& error) const {
    return SaveFileAtomically(path, text_, error);
}

void AskAndSavePoints(
    QWidget* parent, const QString& suggestedName,
    const std::function<bool(const QString& path, PointsFormat format, QString& error)>& save) {
    const QString portuguese =
        QString::fromUtf8("CSV (Excel em português: ponto e vírgula, vírgula decimal) (*.csv)");
    const QString international = QString::fromUtf8("CSV (vírgula, ponto decimal) (*.csv)");
    QString chosen;
    QString path = Files().SaveFileNameAs(parent, QString::fromUtf8("Salvar pontos"),
                                          portuguese + QStringLiteral(";;") + international,
                                          suggestedName, chosen);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    const PointsFormat format = chosen == international ? PointsFormat::CommaDecimalPoint
                                                        : PointsFormat::SemicolonDecimalComma;
    QString error;
    if (!save(path, format, error)) {
        Presenter().Warning(
            parent, QStringLiteral("TARVELO"),
            QString::fromUtf8("Não foi possível salvar os pontos em\n%1\n\n%2").arg(path, error));
    }
}

}  // namespace tarvelo::ui
