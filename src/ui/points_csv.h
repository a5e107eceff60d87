// "Salvar pontos" of every chart window: the points as CSV in one of two forms, the one a
// Portuguese spreadsheet opens (";" between values, "," as decimal separator) and the
// international one ("," and "."), the dialog that offers them and the atomic writing.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <optional>

class QWidget;

namespace tarvelo::ui {

enum class PointsFormat { SemicolonDecimalComma, CommaDecimalPoint };

// The text of a points file, built line by line in its form.
class PointsCsv {
  public:
    explicit PointsCsv(PointsFormat format);

    // A number in its shortest exact form, with the form's decimal separator.
    QByteArray Number(double value) const;
    // A line of texts (the titles of the columns).
    void AddTitles(const QStringList& titles);
    // A line of numbers; a missing value leaves its cell empty.
    void AddRow(std::initializer_list<std::optional<double>> values);

    // Writes the text as the whole file, atomically (ui_common.h).
    bool Save(const QString& path, QString& error) const;

  private:
    bool decimalComma_;
    char separator_;
    QByteArray text_;
};

// The click on "Salvar pontos": asks for the file and its form (the Portuguese one offered
// first), adds ".csv" to a name without extension, writes it with `save` and shows its error.
void AskAndSavePoints(
    QWidget* parent, const QString& suggestedName,
    const std::function<bool(const QString& path, PointsFormat format, QString& error)>& save);

}  // namespace tarvelo::ui
