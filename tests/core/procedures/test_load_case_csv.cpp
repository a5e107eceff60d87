#include <gtest/gtest.h>

#include "procedures/load_case_csv.h"

namespace tarvelo {
namespace {

// A case from its name and its leading loads in the order of the loads window.
LoadCase Case(std::string name, std::initializer_list<const char*> loads = {}) {
    LoadCase c{};
    c.name = std::move(name);
    std::size_t i = 0;
    for (const char* load : loads)
        c.*(kLoadCaseKeys[i++].member) = load;
    return c;
}

// Separators, decimal commas, reordered and missing columns, quoting, comments.
TEST(LoadCaseCsv, ReadsWhatSpreadsheetsWrite) {
    const std::pair<const char*, std::vector<LoadCase>> cases[] = {
        {"nome;Fd;Mxd_t\n1;1200,5;-300\n", {Case("1", {"1200.5", "", "", "-300"})}},
        {"\xEF\xBB\xBF# exported\nMxd_b\tFd\tnome\n\n-1,5\t800\tVento +x\n",
         {Case("Vento +x", {"800", "", "", "", "", "-1.5"})}},
        {"Fd,Myd_t\n100,2.5\n200,\n", {Case("1", {"100", "", "", "", "2.5"}), Case("2", {"200"})}},
        {"Fd \t;Mxd_t\r\n1 ;2\t\r\n", {Case("1", {"1", "", "", "2"})}},  // blanks around cells
        {"name;Fd\n\"Sobrecarga; vento\";10\n\"\";20\r\n",
         {Case("Sobrecarga; vento", {"10"}), Case("2", {"20"})}},
        {"nome;Fd;Hxd_t;Hyd_t;Mxd_t;Myd_t;Mxd_b;Myd_b;pxd;pyd\nA;1;2;3;4;5;6;7;8;9\n",
         {Case("A", {"1", "2", "3", "4", "5", "6", "7", "8", "9"})}},
    };
    for (const auto& [text, expected] : cases) {
        std::vector<LoadCase> out;
        std::string error;
        ASSERT_TRUE(ReadLoadCaseCsv(text, "c.csv", out, error)) << text << error;
        EXPECT_EQ(out, expected) << text;
    }
}

// Every kind of bad line names the file, the line and the column, and imports nothing.
TEST(LoadCaseCsv, RefusesBadLinesWholly) {
    std::string hundred = "Fd\n";
    for (int i = 0; i < 100; ++i)
        hundred += "1\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "c.csv: linha 1: nenhuma linha de cabeçalho"},
        {"nome;Fd;Mz\n", "c.csv: linha 1, coluna 3: coluna desconhecida \"Mz\""},
        {"Fd;Fd\n", "c.csv: linha 1, coluna 2: coluna repetida"},
        {"nome;Fd\n", "c.csv: linha 1: nenhuma combinação"},
        {"nome;Fd\n\nA;1;2\n", "c.csv: linha 3, coluna 3: mais colunas"},
        {"nome;Fd\nA;-10\n", "c.csv: linha 2, coluna 2: valor inválido \"-10\" para Fd"},
        {"nome,Fd,Mxd_t\nA,1,1,5\n", "c.csv: linha 2, coluna 4: mais colunas"},
        {"Fd;Mxd_t\n1;2e3\n", "c.csv: linha 2, coluna 2: valor inválido \"2e3\""},
        {"Fd;Mxd_t\n1;1.2.3\n", "c.csv: linha 2, coluna 2: valor inválido"},
        {"Fd;Mxd_t\n1;123456789\n", "c.csv: linha 2, coluna 2: valor inválido"},
        {"Fd;Mxd_t\n1;-\n", "c.csv: linha 2, coluna 2: valor inválido"},
        {"nome;Fd\nA;1\nA;2\n", "c.csv: linha 3: nome de combinação repetido \"A\""},
        {"nome;Fd\n" + std::string(31, 'x') + ";1\n", "c.csv: linha 2, coluna 1: nome com mais"},
        {hundred, "c.csv: linha 101: no máximo 99 combinações"},
    };
    for (const auto& [text, message] : cases) {
        std::vector<LoadCase> out(1, Case("kept"));
        std::string error;
        EXPECT_FALSE(ReadLoadCaseCsv(text, "c.csv", out, error)) << text;
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
        EXPECT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].name, "kept");
    }
    // Thirty accented characters are thirty characters, not sixty bytes.
    std::string accented;
    for (int i = 0; i < 30; ++i)
        accented += "\xC3\xA7";
    std::vector<LoadCase> out;
    std::string error;
    EXPECT_TRUE(ReadLoadCaseCsv("nome;Fd\n" + accented + ";1\n", "c.csv", out, error)) << error;
}

}  // namespace
}  // namespace tarvelo
