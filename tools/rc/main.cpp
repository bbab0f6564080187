// wince-rc: compiles a resource script, or the exports of a module-definition
// file, into a C++ source that is linked into the module.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "deffile.h"
#include "emit.h"
#include "parser.h"
#include "preprocessor.h"

int main(int argc, char **argv) {
    CLI::App app{"Compiles resource scripts and module-definition files into C++ sources"};
    std::vector<std::string> includeDirs;
    std::string out, deps, def, script;
    app.add_option("-I", includeDirs, "Folder searched for #include files and resource files");
    app.add_option("--out", out, "The C++ source to write")->required();
    app.add_option("--deps", deps, "A dependency file listing every file read");
    app.add_option("--def", def, "A module-definition file to compile into an export table");
    app.add_option("script", script, "The resource script (.rc)");
    CLI11_PARSE(app, argc, argv);
    if (def.empty() == script.empty()) {
        std::cerr << "wince-rc: give either a resource script or --def FILE\n";
        return 1;
    }
    try {
        std::vector<std::string> dependencies;
        if (!def.empty()) {
            rc::WriteFileAtomically(out, rc::EmitExportSource(rc::ReadDefFile(def), def));
            dependencies.push_back(std::filesystem::absolute(def).lexically_normal().string());
        } else {
            std::vector<std::filesystem::path> dirs(includeDirs.begin(), includeDirs.end());
            rc::Preprocessor files(dirs);
            rc::ResourceSet resources;
            rc::Parser(files.Run(script), files, resources).Run();
            rc::WriteFileAtomically(out, rc::EmitResourceSource(resources, script));
            dependencies = files.Dependencies();
        }
        if (!deps.empty())
            rc::WriteFileAtomically(deps, rc::EmitDepfile(std::filesystem::absolute(out).lexically_normal().string(),
                                                          dependencies));
    } catch (const std::exception &e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
