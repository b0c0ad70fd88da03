// cXml: the exact text written, reading it back, every way a text can be
// malformed, nesting limits, tree editing, files, and the error pager.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/Process.h"
#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Xml.h"

using namespace zozud;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

std::string Source(cXml& node, int depth = 0) {
    cStr out;
    node.GetXMLSource(&out, depth);
    return out.ToChar();
}

int Parse(cXml& node, const std::string& text) { return node.Load(text.data(), (int)text.size()); }

// Every shape the writer knows: leaves with and without text, text with children, three levels.
void BuildSample(cXml& root) {
    root.SetQuoteName("Scene");
    root.AddSubQuote("Count", 42);
    root.AddSubQuote("Empty", "");
    cXml* group = root.AddSubQuote(new cXml("Group"));
    group->Assign_string("group text");
    group->AddSubQuote("Name", "a<b>c & d\"e'");
    group->AddSubQuote(new cXml("Inner"))->AddSubQuote("Deep", -7);
}

const char* SampleText =
    "<Scene>\n <Count>42</Count>\n <Empty></Empty>\n <Group>\n  group text\n  <Name>a&ltb&gtc & d\"e'</Name>\n"
    "  <Inner>\n   <Deep>-7</Deep>\n  </Inner>\n </Group>\n</Scene>\n";

// True when both trees have the same names, bodies and shape.
bool SameTree(const cXml& a, const cXml& b) {
    if (a.GetQuoteName() != b.GetQuoteName() || a.Get_string() != b.Get_string()) return false;
    if (a.GetNSubQuotes() != b.GetNSubQuotes()) return false;
    for (int i = 0; i < a.GetNSubQuotes(); i++)
        if (!SameTree(*a.GetSubQuote(i), *b.GetSubQuote(i))) return false;
    return true;
}

std::string LogSince(int start) { return std::string(cLog::GetLogCopy().ToChar() + start); }

}  // namespace

TEST(XmlWrite, ExactTextAndItsRoundTrip) {
    cXml root, back;
    BuildSample(root);
    std::string text = Source(root);
    EXPECT_EQ(SampleText, text);  // one space per level, text before children, "&lt" without ";"
    cXml leaf("Leaf");
    EXPECT_EQ("  <Leaf></Leaf>\n", Source(leaf, 2));
    EXPECT_EQ((int)text.size() - 1, Parse(back, text));  // up to the closing ">", not the line feed
    EXPECT_TRUE(SameTree(root, back));
    EXPECT_EQ(cStr("a<b>c & d\"e'"), back.GetSubQuote("Group")->GetSubQuote("Name")->Get_string());
    EXPECT_EQ(text, Source(back));
}

TEST(XmlRead, BodiesEscapesNamesAndWhatFollows) {
    cXml node;
    ASSERT_GT(node.Load("<a> \t\r\n  hello  world \n</a>"), 0);
    EXPECT_EQ(cStr("hello  world"), node.Get_string());  // trimmed
    ASSERT_GT(node.Load("<a>first<b>x</b>second<c></c>  \n </a>"), 0);
    EXPECT_EQ(cStr("second"), node.Get_string());  // the last run that is not blank
    ASSERT_EQ(2, node.GetNSubQuotes());
    // Written by someone else: "&lt;" reads as "<" followed by the semicolon.
    ASSERT_GT(node.Load("<T>&lt;x&gt;&amp;&&ltlt</T>"), 0);
    EXPECT_EQ(cStr("<;x>;&amp;&<lt"), node.Get_string());
    // Names are whatever stands between the brackets, attributes included.
    ASSERT_GT(node.Load("<item id=\"3\">v</item id=\"3\">"), 0);
    EXPECT_EQ(cStr("item id=\"3\""), node.GetQuoteName());
    // Consumed characters: leading junk counts, what follows the element is ignored; a load replaces the tree.
    EXPECT_EQ(13, node.Load("junk <a>b</a> trailing <x>"));
    EXPECT_TRUE(node.GetQuoteName() == cStr("a") && node.Get_string() == cStr("b") && node.GetNSubQuotes() == 0);
    EXPECT_EQ(0, node.Load(""));
    EXPECT_EQ(0, node.Load(nullptr));
    const char buffer[] = {'<', 'a', '>', '1', '<', '/', 'a', '>', '<'};  // no terminating zero
    EXPECT_EQ(8, node.Load(buffer, 8));
    EXPECT_EQ(-1, Parse(node, std::string("<a>x\0</a>", 9)));  // a zero byte ends the text
    EXPECT_EQ(8, Parse(node, std::string("<a>x</a>\0<b>", 12)));
}

// A closing tag is matched over the open element's name, then its ">" is
// looked for: blanks and line feeds before it are fine.
TEST(XmlRead, ClosingTagsMatchTheNameThenFindTheirBracket) {
    struct { const char* text; int consumed; } rows[] = {
        {"<Count>4</Count >", 17}, {"<Count>4</Count\n>", 17}, {"<Count>4</Count \r\n\t >", 21},
        {"<a><Count>4</Count\n></a\n >", 26}, {"<a>4</ab>", 9}};
    for (auto& r : rows) {
        cXml node;
        EXPECT_EQ(r.consumed, node.Load(r.text)) << r.text;
        cXml* leaf = node.GetNSubQuotes() ? node.GetSubQuote(0) : &node;
        EXPECT_EQ(cStr("4"), leaf->Get_string()) << r.text;
    }
}

TEST(XmlRead, EveryMalformedTextFailsWithMinusOneAndAReason) {
    struct { const char* text; const char* reason; } rows[] = {
        {"no tags at all", "no element at character 14"},
        {"</a>", "no opening tag where the text starts at character 0"},
        {"<", "no opening tag"}, {"<a", "an opening tag without \">\" at character 0"},
        {"<a>", "the text ends inside <a> at character 3"}, {"<a>text", "the text ends inside <a>"},
        {"<a></b>", "the closing tag does not match <a> at character 3"},
        {"<a><b></a></b>", "the closing tag does not match <b> at character 6"},
        {"<a></a", "the closing tag of <a> has no \">\" at character 3"}, {"<ab></a>", "does not match <ab>"},
        {"<a></ a>", "does not match <a>"}, {"<a></b >", "does not match <a>"}, {"<a><b></b>", "ends inside <a>"},
        {"<a><b", "an opening tag without \">\" at character 3"}, {"<a>x</", "does not match <a>"}};
    for (auto& r : rows) {
        cXml node;
        cStr reason;
        EXPECT_EQ(-1, node.Load(r.text, (int)strlen(r.text), &reason)) << r.text;
        EXPECT_NE(std::string::npos, std::string(reason.ToChar()).find(r.reason)) << r.text << ": " << reason.ToChar();
    }
    // Every cut of a valid document fails, and the tree keeps what was read.
    std::string full = SampleText;
    for (size_t n = 1; n + 1 < full.size(); n++) {
        cXml node;
        EXPECT_EQ(-1, node.Load(full.data(), (int)n)) << "cut at " << n;
    }
    cXml partial;
    EXPECT_EQ(-1, partial.Load("<a><b>x</b><c>"));
    ASSERT_EQ(2, partial.GetNSubQuotes());
    EXPECT_EQ(cStr("c"), partial.GetSubQuote(1)->GetQuoteName());
}

TEST(XmlRead, NestingIsLimitedWithoutRecursion) {
    auto nested = [](int depth) {
        std::string open, close;
        for (int i = 0; i < depth; i++) open += "<n>", close += "</n>";
        return open + "leaf" + close;
    };
    cXml node;
    std::string deepest = nested(cXml::MaxDepth);
    EXPECT_EQ((int)deepest.size(), Parse(node, deepest));
    cXml* walk = &node;
    int depth = 1;
    for (; walk->GetNSubQuotes(); depth++) walk = walk->GetSubQuote(0);
    EXPECT_EQ(cXml::MaxDepth, depth);
    EXPECT_EQ(cStr("leaf"), walk->Get_string());
    int start = cLog::GetLogCopy().Length();
    cStr reason;
    std::string deeper = nested(cXml::MaxDepth + 1);
    EXPECT_EQ(-1, node.Load(deeper.data(), (int)deeper.size(), &reason));
    EXPECT_EQ(cStr("elements nested deeper than 1024 levels at character 3072"), reason);
    EXPECT_NE(std::string::npos, LogSince(start).find("nested deeper than 1024 levels")) << LogSince(start);
    std::string opening;  // far deeper than any stack: refused, and freed without recursion
    for (int i = 0; i < 1000000; i++) opening += "<x>";
    EXPECT_EQ(-1, Parse(node, opening));
}

// The writer refuses what the reader would refuse, with a result and a log
// line, and writes any depth the reader takes.
TEST(XmlWrite, TreesDeeperThanTheReaderTakesAreRefused) {
    auto chain = [](cXml& root, int depth) {
        root.SetQuoteName("n");
        cXml* at = &root;
        for (int i = 1; i < depth; i++) at = at->AddSubQuote(new cXml("n"));
        at->Assign_string("leaf");
    };
    cXml fits, deep, back;
    chain(fits, cXml::MaxDepth);
    chain(deep, cXml::MaxDepth + 1);
    cFile file;
    ASSERT_TRUE(fits.WriteToFile(&file));
    ASSERT_TRUE(back.ReadFromFile(file));
    EXPECT_EQ(cXml::MaxDepth, back.GetDepth());

    TempDir dir;
    int start = cLog::GetLogCopy().Length();
    cStr out("kept");
    EXPECT_FALSE(deep.GetXMLSource(&out, 0));
    EXPECT_EQ(cStr("kept"), out);
    EXPECT_FALSE(deep.WriteToFile(&file));
    EXPECT_EQ(0, file.GetSize());
    EXPECT_FALSE(deep.WriteToFile((dir / "deep.xml").c_str()));
    EXPECT_FALSE(testsupport::FileExists(dir / "deep.xml"));
    EXPECT_NE(std::string::npos, LogSince(start).find("nested 1025 levels deep, more than the 1024")) << LogSince(start);

    // Far deeper trees made in memory are measured, previewed and freed without recursion.
    cXml huge;
    chain(huge, 300000);
    EXPECT_EQ(300000, huge.GetDepth());
    EXPECT_EQ(cStr("<n>\n <n>\n  <n>\n   <n>\n    <n>\n     <n>\n ..."), huge.GetSourcePreview(40));
}

TEST(XmlTree, ChildrenAreFoundAddedRemovedAndOwned) {
    cXml root("Root");
    root.AddSubQuote("a", 1);
    root.AddSubQuote("B", "two");
    root.AddSubQuote("a", -2147483647 - 1);
    EXPECT_EQ(cStr("1"), root.GetSubQuote("a")->Get_string());  // the first of that name
    EXPECT_TRUE(root.GetSubQuote("b") == nullptr && root.GetSubQuote(3) == nullptr && root.GetSubQuote(-1) == nullptr);
    cXml* detached = root.RemoveSubQuote(0);
    ASSERT_NE(nullptr, detached);
    EXPECT_EQ(cStr("1"), detached->Get_string());
    delete detached;
    root.DelSubQuote(0);
    root.DelSubQuote(5);  // out of range: nothing
    EXPECT_EQ(nullptr, root.RemoveSubQuote(5));
    ASSERT_EQ(1, root.GetNSubQuotes());
    EXPECT_EQ(cStr("-2147483648"), root.GetSubQuote(0)->Get_string());
    root.ClearAll();
    EXPECT_TRUE(root.GetQuoteName().IsEmpty() && root.Get_string().IsEmpty() && root.GetNSubQuotes() == 0);
}

TEST(XmlFile, WritesTheBareTextAndReadsItBack) {
    TempDir dir;
    std::string path = dir / "scene.xml";
    cXml root, back;
    BuildSample(root);
    EXPECT_TRUE(root.WriteToFile(path.c_str()));
    EXPECT_EQ(SampleText, ReadFile(path));  // no header, no terminating zero
    EXPECT_TRUE(back.ReadFromFile(path.c_str()));
    EXPECT_TRUE(SameTree(root, back));

    WriteFile(dir / "empty.xml", "");
    WriteFile(dir / "bad.xml", "<a><b></a>");
    EXPECT_FALSE(back.ReadFromFile((dir / "empty.xml").c_str()));
    EXPECT_FALSE(back.ReadFromFile((dir / "bad.xml").c_str()));
    EXPECT_FALSE(back.ReadFromFile((dir / "missing.xml").c_str()));
    EXPECT_FALSE(back.ReadFromFile(cFile()));
}

TEST(ErrorPager, ReportingPagersLogAndSilentOnesKeepQuiet) {
    cXml node("Broken");
    node.Assign_string(std::string(600, 'x').c_str());
    int start = cLog::GetLogCopy().Length();
    cErrorPager reporting(true);
    reporting.print("value %d\n", 5);
    reporting.xml_print(node, "bad %s\n", "thing");
    EXPECT_EQ(cStr("value 5\nbad thing\n"), reporting.GetText());
    std::string log = LogSince(start);
    EXPECT_NE(std::string::npos, log.find("value 5"));
    // The node's source is cut to 500 characters.
    std::string source = "<Broken>" + std::string(492, 'x') + "...";
    EXPECT_NE(std::string::npos, log.find("Class engine warning!\r\n\r\nbad thing\r\nXML source: " + source)) << log;

    start = cLog::GetLogCopy().Length();
    cErrorPager silent(false);
    silent.print("kept %s\n", "text");
    silent.xml_print(node, "dropped\n");
    EXPECT_EQ(cStr("kept text\n"), silent.GetText());
    EXPECT_EQ("", LogSince(start));
}

// Nodes that came from text are edited like built ones and outlive the tree
// they were read into; under the sanitizers this also checks what is freed when.
TEST(XmlTree, ParsedNodesAreEditedDetachedAndOutliveTheirTree) {
    auto* doc = new cXml;
    ASSERT_GT(Parse(*doc, SampleText), 0);
    cXml* group = doc->RemoveSubQuote(2);
    cXml* count = doc->GetSubQuote(0);
    count->SetQuoteName(count->GetQuoteName().ToChar() + 1);    // from its own old text
    count->Assign_string(count->Get_string());
    count->AddSubQuote("Added", 5);
    doc->DelSubQuote(1);
    EXPECT_EQ("<Scene>\n <ount>\n  42\n  <Added>5</Added>\n </ount>\n</Scene>\n", Source(*doc));
    delete doc;  // group still reads its text from the parsed document

    cXml other("Other");
    other.AddSubQuote(group);
    group->GetSubQuote(1)->AddSubQuote("New", "x");
    EXPECT_EQ(0, group->GetSubQuote(0)->Load(""));  // unescapes its own body again: a<b>c stays
    EXPECT_EQ("<Other>\n <Group>\n  group text\n  <Name>a&ltb&gtc & d\"e'</Name>\n  <Inner>\n   <Deep>-7</Deep>\n"
              "   <New>x</New>\n  </Inner>\n </Group>\n</Other>\n",
              Source(other));
    // A parsed node reads a new document in place of its old children, and
    // reading again replaces the tree, edited or not.
    cXml* inner = group->GetSubQuote(1);
    ASSERT_GT(inner->Load("<Fresh><Leaf>1</Leaf></Fresh>"), 0);
    EXPECT_EQ("<Fresh>\n <Leaf>1</Leaf>\n</Fresh>\n", Source(*inner));
    cXml copy;
    for (int round = 0; round < 3; round++) {
        ASSERT_GT(Parse(copy, Source(other)), 0);
        EXPECT_TRUE(SameTree(copy, other));
        if (round == 1) copy.GetSubQuote(0)->AddSubQuote(new cXml("Extra"));
    }
    other.DelSubQuote(0);
}
