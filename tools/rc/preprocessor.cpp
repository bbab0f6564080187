#include "preprocessor.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "expression.h"

namespace fs = std::filesystem;

namespace rc {
namespace {

constexpr int kMaxIncludeDepth = 32;

std::string Trim(const std::string &s) {
    size_t b = s.find_first_not_of(" \t\r\f\v");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r\f\v");
    return s.substr(b, e - b + 1);
}

// Splits "word rest" at the first blank.
std::pair<std::string, std::string> FirstWord(const std::string &s) {
    std::string t = Trim(s);
    size_t i = 0;
    while (i < t.size() && (std::isalnum(static_cast<unsigned char>(t[i])) || t[i] == '_')) ++i;
    return {t.substr(0, i), Trim(t.substr(i))};
}

bool ReadWholeFile(const fs::path &file, std::string &content) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    content = s.str();
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0) content.erase(0, 3);
    return true;
}

}  // namespace

// Comments removed (newlines kept, so line numbers hold) and continued lines joined.
std::vector<Preprocessor::Line> Preprocessor::LogicalLines(const std::string &content) {
    std::string text;
    text.reserve(content.size());
    bool inString = false, inBlock = false;
    for (size_t i = 0; i < content.size(); ++i) {
        char c = content[i];
        char next = i + 1 < content.size() ? content[i + 1] : 0;
        if (c == '\r') continue;
        if (inBlock) {
            if (c == '*' && next == '/') inBlock = false, ++i;
            else if (c == '\n') text += '\n';
            continue;
        }
        if (c == '\n') {
            inString = false;  // strings never span lines
            text += c;
            continue;
        }
        if (inString) {
            text += c;
            if (c == '\\' && next && next != '\n') text += next, ++i;
            else if (c == '"') inString = false;
            continue;
        }
        if (c == '"') inString = true;
        if (c == '/' && next == '/') {
            while (i + 1 < content.size() && content[i + 1] != '\n') ++i;
            continue;
        }
        if (c == '/' && next == '*') {
            inBlock = true, ++i;
            text += ' ';
            continue;
        }
        text += c;
    }
    std::vector<Line> lines;
    std::istringstream in(text);
    std::string physical, pending;
    int number = 0, start = 0;
    bool continuing = false;
    while (std::getline(in, physical)) {
        ++number;
        if (!continuing) pending.clear(), start = number;
        pending += physical;
        continuing = !pending.empty() && pending.back() == '\\';
        if (continuing) {
            pending.pop_back();
            continue;
        }
        lines.push_back({pending, start});
    }
    if (continuing) lines.push_back({pending, start});
    return lines;
}

void Preprocessor::AddDependency(const fs::path &file) {
    std::string name = fs::absolute(file).lexically_normal().string();
    if (std::find(dependencies_.begin(), dependencies_.end(), name) == dependencies_.end())
        dependencies_.push_back(name);
}

std::vector<Token> Preprocessor::Run(const fs::path &script) {
    scriptFolder_ = script.parent_path();
    std::vector<Token> out;
    ProcessFile(script, script.string(), Mode::Script, 0, out);
    return out;
}

fs::path Preprocessor::FindResourceFile(const std::string &name, const Location &where) {
    std::string host = name;
    std::replace(host.begin(), host.end(), '\\', '/');
    std::vector<fs::path> candidates;
    if (fs::path(host).is_absolute()) candidates.push_back(host);
    else {
        candidates.push_back(scriptFolder_ / host);
        for (const auto &dir : includeDirs_) candidates.push_back(dir / host);
    }
    for (const auto &c : candidates)
        if (fs::is_regular_file(c)) {
            AddDependency(c);
            return c;
        }
    throw Error(where, "cannot find file '" + name + "'");
}

void Preprocessor::ProcessFile(const fs::path &file, const std::string &shownName, Mode mode, int depth,
                               std::vector<Token> &out) {
    std::string content;
    if (!ReadWholeFile(file, content)) throw Error("cannot read '" + shownName + "'");
    AddDependency(file);
    std::vector<Conditional> stack;
    for (const Line &line : LogicalLines(content)) {
        Location where{shownName, line.number};
        std::string text = Trim(line.text);
        bool active = stack.empty() || stack.back().active;
        if (!text.empty() && text[0] == '#') {
            Directive(text.substr(1), where, mode, depth, stack, file.parent_path(), out);
            continue;
        }
        if (!active || mode != Mode::Script || text.empty()) continue;
        std::set<std::string> expanding;
        Expand(Tokenize(text, where), out, expanding);
    }
    if (!stack.empty()) throw Error(stack.back().where, "#if without #endif");
}

void Preprocessor::Directive(const std::string &text, const Location &where, Mode mode, int depth,
                             std::vector<Conditional> &stack, const fs::path &folder, std::vector<Token> &out) {
    auto [word, rest] = FirstWord(text);
    if (mode == Mode::DefinesOnly) {
        // Platform headers: their plain constants and the headers they pull in.
        if (word == "define") Define(rest, where, true);
        else if (word == "include") Include(rest, where, depth, folder, out, true);
        return;
    }
    bool active = stack.empty() || stack.back().active;
    if (word == "ifdef" || word == "ifndef" || word == "if") {
        bool value = false;
        if (active) {
            std::string name = FirstWord(rest).first;
            if (word != "if" && name.empty()) throw Error(where, "#" + word + " without a name");
            value = word == "ifdef" ? macros_.count(name) > 0
                    : word == "ifndef" ? macros_.count(name) == 0
                                       : EvaluateCondition(rest, where);
        }
        stack.push_back({active && value, value, active, false, where});
        return;
    }
    if (word == "elif" || word == "else" || word == "endif") {
        if (stack.empty()) throw Error(where, "#" + word + " without #if");
        Conditional &c = stack.back();
        if (word == "endif") {
            stack.pop_back();
        } else if (c.sawElse) {
            throw Error(where, "#" + word + " after #else");
        } else if (word == "else") {
            c.sawElse = true;
            c.active = c.parentActive && !c.taken;
            c.taken = true;
        } else {
            bool value = c.parentActive && !c.taken && EvaluateCondition(rest, where);
            c.active = value;
            c.taken = c.taken || value;
        }
        return;
    }
    if (!active) return;
    if (word == "define") Define(rest, where, false);
    else if (word == "undef") macros_.erase(FirstWord(rest).first);
    else if (word == "include") Include(rest, where, depth, folder, out);
    else if (word == "pragma") {
        if (FirstWord(rest).first == "once") once_.insert(fs::absolute(where.file).lexically_normal().string());
    } else if (word == "error") throw Error(where, "#error " + rest);
    else if (word == "line" || word.empty()) return;
    else throw Error(where, "unknown directive #" + word);
}

void Preprocessor::Define(const std::string &rest, const Location &where, bool onlyPlain) {
    std::string t = Trim(rest);
    size_t i = 0;
    while (i < t.size() && (std::isalnum(static_cast<unsigned char>(t[i])) || t[i] == '_')) ++i;
    std::string name = t.substr(0, i);
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) {
        if (onlyPlain) return;
        throw Error(where, "#define without a name");
    }
    bool parameters = i < t.size() && t[i] == '(';
    if (parameters && onlyPlain) return;
    if (parameters) {
        size_t close = t.find(')', i);
        i = close == std::string::npos ? t.size() : close + 1;
    }
    macros_[name] = Macro{Trim(t.substr(i)), parameters, where};
}

void Preprocessor::Include(const std::string &rest, const Location &where, int depth, const fs::path &folder,
                           std::vector<Token> &out, bool fromPlatformHeader) {
    std::string t = Trim(rest);
    if (t.size() < 3 || !((t[0] == '"' && t.find('"', 1) != std::string::npos) ||
                          (t[0] == '<' && t.find('>') != std::string::npos)))
        throw Error(where, "#include expects \"file\" or <file>");
    bool system = t[0] == '<';
    std::string name = t.substr(1, t.find(system ? '>' : '"', 1) - 1);
    std::replace(name.begin(), name.end(), '\\', '/');
    if (depth >= kMaxIncludeDepth) throw Error(where, "#include nested too deeply");
    std::vector<fs::path> candidates;
    if (!system) candidates = {folder / name, scriptFolder_ / name};
    for (const auto &dir : includeDirs_) candidates.push_back(dir / name);
    for (const auto &c : candidates) {
        if (!fs::is_regular_file(c)) continue;
        std::string key = fs::absolute(c).lexically_normal().string();
        if (once_.count(key)) return;
        Mode mode = Mode::Script;
        if (system || fromPlatformHeader) {  // platform headers, and what they include
            mode = Mode::DefinesOnly;
            once_.insert(key);
        } else {
            std::string ext = c.extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
            if (ext == ".h" || ext == ".c" || ext == ".hpp") mode = Mode::DirectivesOnly;
        }
        ProcessFile(c, c.string(), mode, depth + 1, out);
        return;
    }
    // The platform headers include the C library's, which hold nothing for a script.
    if (fromPlatformHeader) return;
    throw Error(where, "cannot open include file '" + name + "'");
}

bool Preprocessor::EvaluateCondition(const std::string &rest, const Location &where) {
    std::vector<Token> raw = Tokenize(rest, where), resolved;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i].kind != TokenKind::Identifier || raw[i].text != "defined") {
            resolved.push_back(raw[i]);
            continue;
        }
        bool paren = i + 1 < raw.size() && raw[i + 1].Is("(");
        size_t n = i + (paren ? 2 : 1);
        if (n >= raw.size() || raw[n].kind != TokenKind::Identifier || (paren && (n + 1 >= raw.size() || !raw[n + 1].Is(")"))))
            throw Error(where, "defined expects a name");
        Token one = raw[i];
        one.kind = TokenKind::Number;
        one.number = macros_.count(raw[n].text) ? 1 : 0;
        resolved.push_back(one);
        i = n + (paren ? 1 : 0);
    }
    std::vector<Token> tokens;
    std::set<std::string> expanding;
    Expand(resolved, tokens, expanding);
    if (tokens.empty()) throw Error(where, "#if without a condition");
    size_t pos = 0;
    Value v = Expression(tokens, pos, true).Parse();
    if (pos != tokens.size()) throw Error(where, "unexpected '" + tokens[pos].text + "' in #if");
    return v.number != 0;
}

void Preprocessor::Expand(const std::vector<Token> &in, std::vector<Token> &out, std::set<std::string> &active) {
    for (const Token &t : in) {
        auto it = t.kind == TokenKind::Identifier ? macros_.find(t.text) : macros_.end();
        if (it == macros_.end() || active.count(t.text)) {
            out.push_back(t);
            continue;
        }
        if (it->second.hasParameters)
            throw Error(t.where, "macro '" + t.text + "' takes arguments, which resource scripts do not support");
        std::vector<Token> body;
        try {
            body = Tokenize(it->second.body, t.where);
        } catch (const Error &) {
            throw Error(t.where, "'" + t.text + "' (defined at " + it->second.where.file + ":" +
                                     std::to_string(it->second.where.line) + ") is not a value a resource script can use");
        }
        active.insert(t.text);
        Expand(body, out, active);
        active.erase(t.text);
    }
}

}  // namespace rc
