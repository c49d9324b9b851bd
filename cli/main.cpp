#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <string>

#include "app/program.h"
#include "cli/dump_command.h"
#include "cli/edit_commands.h"
#include "cli/messages.h"
#include "cli/program.h"
#include "cli/session.h"
#include "core/program_voice.h"
#include "demo/demo_map.h"
#include "mods/mods.h"
#include "res/resource.h"
#include "tools/map_tool_commands.h"
#include "torvex_version.h"
#include "weapon/map_file.h"

namespace {

using cli::message::Refuse;

// The editor leaves a map whose permissions grant nobody writing alone, even for a superuser;
// so does the demo map's writer.
int MakeMap(const std::string& path) {
    if (IsMarkedReadOnly(path.c_str())) {
        return Refuse(std::cerr, cli::message::MapReadOnly(path), 1);
    }
    const Status written = demo::WriteDemoMap(path);
    return written ? 0 : Refuse(std::cerr, written.Error(), 1);
}

// The records are read as the editor reads them at start-up, and printed only where the editor
// would go on to show them.
int Dump() {
    cli::RunEditor([](platform::headless::HeadlessWindow&) {
        cli::DumpRecords(TheStartUp().weapons, std::cout);
    });
    return 0;
}

// A whole number argument, or the status 2 of a malformed command line.
bool Number(const char* argument, const std::string& text, int& value) {
    if (cli::ParseNumber(text, value)) {
        return true;
    }
    Refuse(std::cerr, cli::message::NotANumber(argument, text), 2);
    return false;
}

int Tree() {
    cli::RunEditor([](platform::headless::HeadlessWindow& window) {
        cli::PrintTree(window.TreeControlOf(IDC_WEAPON_TREE), std::cout);
    });
    return 0;
}

int RunSession() {
    int errors = 0;
    cli::RunEditor([&](platform::headless::HeadlessWindow& window) {
        cli::Session session(window, std::cout, std::cerr);
        std::string line;
        while (!session.Ended() && std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            session.Perform(line);
        }
        errors = session.Errors();
    });
    return errors > 0 ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "torvex-cli: the Torvex editor without a window, on cache003.map in the working "
        "directory.",
        kCliProgram};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string(kCliProgram) + " " TORVEX_VERSION_TEXT);

    std::string mapPath;
    auto* makeMap = app.add_subcommand("make-map", "Write the demo map to PATH");
    makeMap->add_option("PATH", mapPath, "Where to write the map")->required();

    auto* dump =
        app.add_subcommand("dump", "Print the fifteen weapon records as JSON, as read at start-up");
    auto* tree = app.add_subcommand("tree", "Start the editor and print its tree");
    auto* session = app.add_subcommand(
        "session",
        "Start the editor and perform user actions read from stdin, one a line:\n"
        "  select PATH   select the item at PATH (dot-separated positions, e.g. 1.17)\n"
        "  check         click the check box\n"
        "  choose N      pick entry N of the list\n"
        "  type TEXT     replace the edit box text\n"
        "  update        click Update\n"
        "  exit          click Exit (escape, enter and close also work)\n"
        "  tree | item PATH | entries | panel   print what the dialog shows");

    cli::SetRequest setRequest;
    std::vector<std::string> setArgs;
    auto* set = app.add_subcommand(
        "set", "Set a value: set WEAPON LABEL VALUE, or set WEAPON \"Unknown shorts\" INDEX VALUE");
    set->add_option("WEAPON", setRequest.weapon, "Weapon as the tree shows it")->required();
    set->add_option("LABEL", setRequest.label, "Named label or unnamed category")->required();
    // CLI11 cannot place an optional positional before a required one, so the index and the value
    // arrive together and are told apart here.
    constexpr char kSetUsage[] = "WEAPON LABEL [INDEX] VALUE";
    set->add_option("VALUE", setArgs, "The value; for an unnamed one, its index first")
        ->required()
        ->expected(1, -1);

    cli::RefRequest refRequest;
    auto* ref = app.add_subcommand(
        "ref", "Point a reference at a catalogue row: ref WEAPON CATEGORY N ROW (ROW -1: none)");
    ref->add_option("WEAPON", refRequest.weapon, "Weapon as the tree shows it")->required();
    ref->add_option("CATEGORY", refRequest.category, "Category such as Models")->required();
    std::string refPosition;
    std::string refRow;
    ref->add_option("N", refPosition, "Which reference under it, from 0")->required();
    ref->add_option("ROW", refRow, "Catalogue row, or -1 for no tag")
        ->required()
        ->allow_extra_args(false);

    auto* check = app.add_subcommand(
        "check",
        "Tell whether cache003.map is the map this build supports, before editing it; changes "
        "nothing. Exits 0 for the supported map, 1 for another, 2 when it cannot be read");
    std::string catalogueMap;
    auto* catalogue = app.add_subcommand(
        "catalogue",
        "Print the path list of MAP's own tag index, in the format of catalogue/tag_paths.txt, "
        "for building with -DTORVEX_TAG_PATHS; refuses a map that breaks the catalogue's rules");
    catalogue->add_option("MAP", catalogueMap, "The map to read")->required();

    std::string originalMap;
    auto* diff = app.add_subcommand(
        "diff",
        "Print as a JSON patch every value and reference of the shown weapons that the editor can "
        "change and that differs between cache003.map and ORIGINAL; other differences go to "
        "stderr");
    diff->add_option("ORIGINAL", originalMap, "The unchanged map")->required();
    mods::ApplyRequest applyRequest;
    auto* apply = app.add_subcommand(
        "apply",
        "Apply patches made by diff to cache003.map in the order given, all or nothing: every "
        "field must hold what its patch replaces, or the new value already; exits 1 on a "
        "conflict, 2 when a patch cannot be used (nothing written), 3 when a write failed "
        "(run it again to finish)");
    apply->add_option("PATCH", applyRequest.patches, "The patch files")->required();
    apply->add_flag("--reverse", applyRequest.reverse,
                    "Take the patches off, the last first, putting back what they replaced");
    apply->add_flag("--force", applyRequest.force,
                    "Write over conflicts; where two patches conflict, the later wins");
    std::vector<std::string> statusPatches;
    auto* status = app.add_subcommand(
        "status",
        "Tell for each patch whether cache003.map holds it: applied, not applied, partly applied "
        "or conflicting, and which patch wins a field that several change; exits 0 when every "
        "patch is wholly applied, 1 otherwise, 2 when a patch cannot be checked");
    status->add_option("PATCH", statusPatches, "The patch files")->required();

    // A typed value such as "-.5" or "-a" is text for the edit box, not an option: after "set"
    // and "ref" everything is an argument, unless help is asked for.
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool wantsHelp = std::any_of(
        args.begin(), args.end(), [](const std::string& a) { return a == "-h" || a == "--help"; });
    if (!args.empty() && (args[0] == "set" || args[0] == "ref") && !wantsHelp) {
        args.insert(args.begin() + 1, "--");
    }
    const auto named = [&](const CLI::App* command) { return command->check_name(args[0]); };
    if (args.empty() ||
        (app.get_subcommands(named).empty() && !wantsHelp && args[0] != "--version")) {
        return Refuse(std::cerr, cli::message::NoCommand(args.empty() ? "" : args[0]), 2);
    }
    std::reverse(args.begin(), args.end());  // CLI11 takes a vector in reverse order
    try {
        app.parse(args);
    } catch (const CLI::Success& e) {
        return app.exit(e);  // help or the version
    } catch (const CLI::ParseError& e) {
        // Every malformed command line exits 2, as a request naming nothing does.
        const auto parsed = app.get_subcommands();
        return Refuse(
            std::cerr,
            cli::message::CommandLine(parsed.empty() ? "" : parsed[0]->get_name(), e.what()), 2);
    }

    if (*makeMap) {
        return MakeMap(mapPath);
    }
    if (*check) {
        return tools::RunCheck(std::cout);
    }
    if (*catalogue) {
        cli::WriteOutputAsBytes();
        return tools::RunCatalogue(catalogueMap, std::cout, std::cerr);
    }
    if (*diff) {
        return mods::RunDiff(originalMap, std::cout, std::cerr);
    }
    if (*apply) {
        return mods::RunApply(applyRequest, TheStartUp().weapons, std::cout, std::cerr);
    }
    if (*status) {
        return mods::RunStatus(statusPatches, TheStartUp().weapons, std::cout, std::cerr);
    }
    if (*dump) {
        return Dump();
    }
    if (*tree) {
        return Tree();
    }
    if (*session) {
        return RunSession();
    }
    if (*set) {
        if (setArgs.size() > 2) {
            return Refuse(std::cerr, cli::message::TooManyArguments("set", kSetUsage, setArgs[2]),
                          2);
        }
        if (setArgs.size() == 2 && !Number("the index", setArgs[0], setRequest.index)) {
            return 2;
        }
        setRequest.value = setArgs.back();
        return cli::RunSet(setRequest);
    }
    if (!Number("N", refPosition, refRequest.position) || !Number("ROW", refRow, refRequest.row)) {
        return 2;
    }
    return cli::RunRef(refRequest);
}
