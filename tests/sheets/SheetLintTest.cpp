#include "sheets/lint/SheetLint.h"

#include "platform/Win1250.h"
#include "sheets/SheetClasses.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<LintDevice> devices(const QString& file) {
    std::vector<LintFinding> findings;
    std::vector<LintDevice> loaded;
    if (auto device = LintDeviceConfiguration(file, fileBytes(file), findings))
        loaded.push_back(*device);
    EXPECT_TRUE(findings.empty()) << file.toStdString();
    return loaded;
}

std::string described(const std::vector<LintFinding>& findings) {
    std::string text;
    for (const LintFinding& f : findings)
        text += QStringLiteral("%1:%2: %3\n").arg(f.line).arg(f.column).arg(f.text).toStdString();
    return text;
}

// One line of a sheet with a fault, where the finding must point (the first
// occurrence of `at` in the line) and what it must say.
struct Fault {
    const char* line;
    const char* at;
    LintFinding::Severity severity;
    const char* says;
};

} // namespace

TEST(SheetLint, TheShippedAndDocumentedSheetsHaveNoFinding) {
    RegisterSheetClasses();
    const struct {
        QString sheet;
        QString device;
    } sheets[] = {
        {KONFIDOR_EXAMPLES_DIR "/demo-485.xml", KONFIDOR_EXAMPLES_DIR "/demo-485-device.xm"},
        {KONFIDOR_DOCS "/guide-example/guide.xml", KONFIDOR_DOCS "/guide-example/guide-device.xm"},
        {KONFIDOR_TEST_DATA_DIR "/sheets/field-example/demo-485.xml",
         KONFIDOR_TEST_DATA_DIR "/sheets/field-example/demo-485-device.xm"},
    };
    for (const auto& [sheet, device] : sheets) {
        const QByteArray bytes = fileBytes(sheet);
        ASSERT_FALSE(bytes.isEmpty()) << sheet.toStdString();
        const std::vector<LintFinding> findings = LintSheet(sheet, bytes, devices(device));
        EXPECT_TRUE(findings.empty()) << sheet.toStdString() << "\n" << described(findings);
    }
}

// Every fault at its line and column, and nothing else: the sheet's other lines
// are correct.
TEST(SheetLint, EachFaultIsFoundWhereItIs) {
    RegisterSheetClasses();
    using enum LintFinding::Severity;
    const Fault faults[] = {
        {"<Form Name=\"fMain\" Left=\"abc\" BorderStyle=\"bsNothing\">", "Left", Error,
         "invalid value 'abc' for integer property Left"},
        {"<Form Name=\"fMain\" Left=\"abc\" BorderStyle=\"bsNothing\">", "BorderStyle", Error,
         "expected one of: bsNone, bsSingle"},
        {"  <Edit Name=\"eIp\" Txet=\"x\" XMLpath=\"Text:NET.ip\" Font=\"Arial\"/>", "Txet", Error,
         "TEdit has no property 'Txet'"},
        {"  <Edit Name=\"eIp\" Txet=\"x\" XMLpath=\"Text:NET.ip\" Font=\"Arial\"/>", "Font", Error,
         "property Font cannot be set from a sheet"},
        {"  <Button Name=\"bGo\" OnChange=\"x\" xmlpath=\"Caption:NET.ip\"/>", "OnChange", Error,
         "TButton has no event 'OnChange'"},
        {"  <Button Name=\"bGo\" OnChange=\"x\" xmlpath=\"Caption:NET.ip\"/>", "xmlpath", Error,
         "a binding is written XMLpath"},
        {"  <Label Name=\"lIp\"><Edit Name=\"eInside\"/></Label>", "<Edit", Error,
         "TLabel holds no widgets"},
        {"  <ComboBox XMLpath=\"ItemIndex:NET.dhcp\"><ITEM caption=\"Ne\"/><ITEM value=\"1\"/>"
         "</ComboBox>",
         "<ITEM caption", Error, "ITEM of a bound combo box has no 'value'"},
        {"  <ComboBox XMLpath=\"ItemIndex:NET.dhcp\"><ITEM caption=\"Ne\"/><ITEM value=\"1\"/>"
         "</ComboBox>",
         "<ITEM value", Error, "ITEM has no 'caption'"},
        {"  <Edit Name=\"EIP\"/>", "Name", Error,
         "the enclosing widget already holds a widget named 'EIP' (line 4, column 9)"},
        {"  <Edit Name=\"1st\"/>", "Name", Error, "'1st' is not a valid name"},
        {"  <Edit XMLpath=\"NET.ip\"/>", "XMLpath", Error, "XMLpath 'NET.ip' names no property"},
        {"  <Edit XMLpath=\"Txt:NET.ip\"/>", "XMLpath", Error,
         "binds property Txt, which TEdit does not publish"},
        {"  <Edit XMLpath=\"Text:.ip\"/>", "XMLpath", Error, "names no device setting"},
        {"  <Edit XMLpath=\"Text:NET.gateway\"/>", "XMLpath", Warning,
         "device.xm has no attribute NET.gateway"},
        {"  <Edit XMLpath=\"Text:SNMP.community\"/>", "XMLpath", Warning,
         "device.xm has no element SNMP"},
        {"  <Panel/>", "<Panel", Error, "unknown widget class 'Panel'"},
        {"  <ITEM caption=\"x\" value=\"1\"/>", "<ITEM", Error,
         "ITEM entries belong in a ComboBox"},
        {"  <!-- a note -->", "<!--", Warning, "is built as a widget element and fails"},
        {"  stray words", "stray", Error, "text in <Form> is no widget element"},
        {"</Form>", nullptr, Error, nullptr},
        {"<SCRIPT>g(); Hello; eIp.Txt:=1; eIp.Left:=abc; Show;</SCRIPT>", "g()", Error,
         "Unknown command: 'g()'"},
        {"<SCRIPT>g(); Hello; eIp.Txt:=1; eIp.Left:=abc; Show;</SCRIPT>", "Hello", Error,
         "Unknown command: 'Hello'"},
        {"<SCRIPT>g(); Hello; eIp.Txt:=1; eIp.Left:=abc; Show;</SCRIPT>", "Txt", Error,
         "TEdit has no property 'Txt'"},
        {"<SCRIPT>g(); Hello; eIp.Txt:=1; eIp.Left:=abc; Show;</SCRIPT>", "Left", Error,
         "invalid value 'abc' for integer property Left"},
        {"<SCRIPT>function h() { Set; } function h() { Hide; } (</SCRIPT>", "function h() { Hide",
         Warning, "function 'h' is defined again"},
        {"<SCRIPT>function h() { Set; } function h() { Hide; } (</SCRIPT>", "(</SCRIPT>", Error,
         "'(' is never closed"},
        {"<Form Name=\"eIp\" OnShow=\"fMain.Show; nobody.Caption:=x;\"/>", "Name", Warning,
         "the name 'eIp' is already used (line 4, column 9)"},
        {"<Form Name=\"eIp\" OnShow=\"fMain.Show; nobody.Caption:=x;\"/>", "nobody", Error,
         "no widget of the sheet is named 'nobody'"},
        {"<Form Name=\"eIp\" OnShow=\"fMain.Show; nobody.Caption:=x;\"/>", "Caption:=x", Error,
         "No object to assign 'Caption' to"},
    };
    const QByteArray head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SHEET type=\"T\" version=\"1\">\n";
    QByteArray sheet = head;
    QList<QByteArray> lines;
    for (const Fault& fault : faults) {
        if (lines.isEmpty() || lines.back() != fault.line)
            lines.append(fault.line);
    }
    sheet += lines.join('\n') + "\n</SHEET>\n";
    const QByteArray device =
        "<XML><DEVICE type=\"T\" version=\"1\"/><NET ip=\"1\" dhcp=\"0\"/></XML>";
    std::vector<LintFinding> parseProblems;
    const std::vector<LintDevice> against{
        *LintDeviceConfiguration("device.xm", device, parseProblems)};

    std::vector<LintFinding> expected;
    for (const Fault& fault : faults) {
        if (!fault.at)
            continue;
        const int line = int(lines.indexOf(fault.line)) + 3;
        const int column = int(QByteArray(fault.line).indexOf(fault.at)) + 1;
        expected.push_back({"s.xml", line, column, fault.severity, QString::fromUtf8(fault.says)});
    }
    const std::vector<LintFinding> found = LintSheet("s.xml", sheet, against);
    ASSERT_EQ(found.size(), expected.size()) << described(found);
    for (std::size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(described({expected[i]}));
        EXPECT_EQ(found[i].line, expected[i].line);
        EXPECT_EQ(found[i].column, expected[i].column);
        EXPECT_EQ(found[i].severity, expected[i].severity);
        EXPECT_TRUE(found[i].text.contains(expected[i].text)) << found[i].text.toStdString();
    }
}

TEST(SheetLint, TheDocumentItselfIsChecked) {
    RegisterSheetClasses();
    const std::vector<LintFinding> broken =
        LintSheet("b.xml", "<SHEET type=\"T\" version=\"1\">\n  <Form></SHEET>\n", {});
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0].line, 2);
    EXPECT_TRUE(broken[0].text.startsWith("not well-formed: ")) << broken[0].text.toStdString();

    const std::vector<LintFinding> unnamed = LintSheet("u.xml", "<SHEET type=\"T\">\n</SHEET>", {});
    ASSERT_EQ(unnamed.size(), 1u) << described(unnamed);
    EXPECT_EQ(unnamed[0].severity, LintFinding::Severity::Warning);
    EXPECT_EQ(unnamed[0].line, 1);
    EXPECT_EQ(unnamed[0].column, 1);
    EXPECT_TRUE(unnamed[0].text.contains("no 'version' attribute"));
}
