// tarvelo-cli envelope: the section's resistance envelope at an axial force, with each load
// case's utilisation and minimum-moment check.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

namespace tarvelo::cli {

struct EnvelopeOptions {
    std::vector<std::string> files;
    std::optional<double> axial;  // kN; none: Fd of the governing case
    int angles = 72;
    bool json = false;
    bool csv = false;
};

CLI::App* AddEnvelopeCommand(CLI::App& app, EnvelopeOptions& options);

// 0 when every file completed, 1 when a message ended one, 2 when a file could not be read.
int RunEnvelopeCommand(const EnvelopeOptions& options);

}  // namespace tarvelo::cli
