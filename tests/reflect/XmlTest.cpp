#include <gtest/gtest.h>

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

// A tree with every shape the writer knows: leaves with and without text,
// a node with text and children, nesting three deep.
void BuildSample(cXml& root) {
    root.SetQuoteName("Scene");
    root.AddSubQuote("Count", 42);
    root.AddSubQuote("Empty", "");
    cXml* group = root.AddSubQuote(new cXml("Group"));
    group->Assign_string("group text");
    group->AddSubQuote("Name", "a<b>c & d");
    cXml* inner = group->AddSubQuote(new cXml("Inner"));
    inner->AddSubQuote("Deep", -7);
}

const char* SampleText =
    "<Scene>\n"
    " <Count>42</Count>\n"
    " <Empty></Empty>\n"
    " <Group>\n"
    "  group text\n"
    "  <Name>a&ltb&gtc & d</Name>\n"
    "  <Inner>\n"
    "   <Deep>-7</Deep>\n"
    "  </Inner>\n"
    " </Group>\n"
    "</Scene>\n";

// True when both trees have the same names, bodies and shape.
bool SameTree(const cXml& a, const cXml& b) {
    if (a.GetQuoteName() != b.GetQuoteName() || a.Get_string() != b.Get_string()) return false;
    if (a.GetNSubQuotes() != b.GetNSubQuotes()) return false;
    for (int i = 0; i < a.GetNSubQuotes(); i++)
        if (!SameTree(*a.GetSubQuote(i), *b.GetSubQuote(i))) return false;
    return true;
}

class LogTail {
public:
    LogTail() : start_(cLog::GetLogCopy().Length()) {}
    std::string Text() const { return std::string(cLog::GetLogCopy().ToChar() + start_); }

private:
    int start_;
};

}  // namespace

TEST(XmlWrite, IndentsOneSpacePerLevelAndPutsTextBeforeChildren) {
    cXml root;
    BuildSample(root);
    EXPECT_EQ(SampleText, Source(root));

    // Indentation starts at the given depth; an empty leaf writes nothing between its tags.
    cXml leaf("Leaf");
    EXPECT_EQ("  <Leaf></Leaf>\n", Source(leaf, 2));
    cXml parent("P");
    parent.AddSubQuote("C", 1);
    EXPECT_EQ(" <P>\n  <C>1</C>\n </P>\n", Source(parent, 1));
}

TEST(XmlWrite, EscapesOnlyAngleBracketsWithoutSemicolon) {
    cXml node("T");
    node.Assign_string("a<b>c&d\"e'");
    EXPECT_EQ("<T>a&ltb&gtc&d\"e'</T>\n", Source(node));

    cXml back;
    ASSERT_GT(back.Load(Source(node).c_str()), 0);
    EXPECT_EQ(cStr("a<b>c&d\"e'"), back.Get_string());

    // Written by someone else: "&lt;" reads as "<" followed by the semicolon.
    ASSERT_GT(back.Load("<T>&lt;x&gt;&amp;</T>"), 0);
    EXPECT_EQ(cStr("<;x>;&amp;"), back.Get_string());
    ASSERT_GT(back.Load("<T>&&ltlt&gtgt&l&g</T>"), 0);
    EXPECT_EQ(cStr("&<lt>gt&l&g"), back.Get_string());
}

TEST(XmlRead, ReadsBackWhatItWrites) {
    cXml root;
    BuildSample(root);
    cXml back;
    std::string text = Source(root);
    EXPECT_EQ((int)text.size() - 1, Parse(back, text));  // up to the closing ">", not the line feed
    EXPECT_TRUE(SameTree(root, back));
    EXPECT_EQ(text, Source(back));
    EXPECT_EQ(cStr("a<b>c & d"), back.GetSubQuote("Group")->GetSubQuote("Name")->Get_string());
    EXPECT_EQ(cStr("group text"), back.GetSubQuote("Group")->Get_string());
}

TEST(XmlRead, TrimsBodiesAndKeepsTheLastTextRun) {
    cXml node;
    ASSERT_GT(node.Load("<a> \t\r\n  hello  world \n</a>"), 0);
    EXPECT_EQ(cStr("hello  world"), node.Get_string());

    ASSERT_GT(node.Load("<a>first<b>x</b>second<c></c>  \n </a>"), 0);
    EXPECT_EQ(cStr("second"), node.Get_string());  // whitespace-only runs do not count
    ASSERT_EQ(2, node.GetNSubQuotes());
    EXPECT_EQ(cStr("x"), node.GetSubQuote(0)->Get_string());

    // Names are whatever stands between the brackets, attributes included.
    ASSERT_GT(node.Load("<item id=\"3\">v</item id=\"3\">"), 0);
    EXPECT_EQ(cStr("item id=\"3\""), node.GetQuoteName());
    ASSERT_GT(node.Load("<></>"), 0);
    EXPECT_EQ(cStr(""), node.GetQuoteName());
}

TEST(XmlRead, CountsConsumedCharactersAndIgnoresWhatFollows) {
    cXml node;
    EXPECT_EQ(0, node.Load(""));
    EXPECT_EQ(0, node.Load(nullptr));
    EXPECT_EQ(13, node.Load("junk <a>b</a> trailing <x>"));
    EXPECT_EQ(cStr("a"), node.GetQuoteName());
    EXPECT_EQ(cStr("b"), node.Get_string());
    EXPECT_EQ(0, node.GetNSubQuotes());

    // A second load replaces the tree.
    ASSERT_GT(node.Load("<r><c>1</c></r>"), 0);
    ASSERT_GT(node.Load("<s></s>"), 0);
    EXPECT_EQ(cStr("s"), node.GetQuoteName());
    EXPECT_EQ(0, node.GetNSubQuotes());

    // The text need not end in a zero byte.
    const char buffer[] = {'<', 'a', '>', '1', '<', '/', 'a', '>', '<'};
    EXPECT_EQ(8, node.Load(buffer, 8));
    // A zero byte ends the text, wherever it stands.
    const std::string withZero("<a>x\0</a>", 9);
    EXPECT_EQ(-1, Parse(node, withZero));
    EXPECT_EQ(8, Parse(node, std::string("<a>x</a>\0<b>", 12)));
}

TEST(XmlRead, EveryMalformedTextFailsWithMinusOne) {
    const char* bad[] = {
        "no tags at all",
        "</a>",                 // a closing tag where an opening tag is expected
        "<",                    // nothing after the bracket
        "<a",                   // name without ">"
        "<a>",                  // never closed
        "<a>text",              // never closed
        "<a></b>",              // closing tag of another name
        "<a><b></a></b>",       // crossed
        "<a></a",               // closing tag without ">"
        "<a></ab>",             // longer name
        "<ab></a>",             // shorter name
        "<a></ a>",             // blank in the closing tag
        "<a><b></b>",           // child closed, parent not
        "<a><b",                // child name without ">"
        "<a>x</",               // cut inside the closing tag
    };
    for (const char* text : bad) {
        cXml node;
        EXPECT_EQ(-1, node.Load(text)) << text;
    }

    // Every cut of a valid document fails, and the tree keeps what was read.
    std::string full = SampleText;
    for (size_t n = 1; n + 1 < full.size(); n++) {
        cXml node;
        int got = node.Load(full.data(), (int)n);
        EXPECT_TRUE(got == -1) << "cut at " << n << " gave " << got;
    }
    cXml partial;
    EXPECT_EQ(-1, partial.Load("<a><b>x</b><c>"));
    ASSERT_EQ(2, partial.GetNSubQuotes());
    EXPECT_EQ(cStr("x"), partial.GetSubQuote(0)->Get_string());
    EXPECT_EQ(cStr("c"), partial.GetSubQuote(1)->GetQuoteName());
}

TEST(XmlRead, NestingIsLimitedWithoutRecursion) {
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; i++) text += "<n>";
        text += "leaf";
        for (int i = 0; i < depth; i++) text += "</n>";
        return text;
    };
    cXml node;
    std::string deepest = nested(cXml::MaxDepth);
    EXPECT_EQ((int)deepest.size(), Parse(node, deepest));
    cXml* walk = &node;
    int depth = 1;
    while (walk->GetNSubQuotes()) {
        walk = walk->GetSubQuote(0);
        depth++;
    }
    EXPECT_EQ(cXml::MaxDepth, depth);
    EXPECT_EQ(cStr("leaf"), walk->Get_string());

    EXPECT_EQ(-1, Parse(node, nested(cXml::MaxDepth + 1)));
    // Far deeper than any stack: refused quickly, freed without recursion.
    std::string opening;
    for (int i = 0; i < 1000000; i++) opening += "<x>";
    EXPECT_EQ(-1, Parse(node, opening));
}

TEST(XmlTree, ChildrenAreFoundAddedRemovedAndOwned) {
    cXml root("Root");
    root.AddSubQuote("a", 1);
    root.AddSubQuote("B", "two");
    root.AddSubQuote("a", 3);
    EXPECT_EQ(3, root.GetNSubQuotes());
    EXPECT_EQ(cStr("1"), root.GetSubQuote("a")->Get_string());  // the first of that name
    EXPECT_EQ(nullptr, root.GetSubQuote("b"));                   // names compare with case
    EXPECT_EQ(nullptr, root.GetSubQuote(3));
    EXPECT_EQ(nullptr, root.GetSubQuote(-1));

    cXml* detached = root.RemoveSubQuote(0);
    ASSERT_NE(nullptr, detached);
    EXPECT_EQ(cStr("1"), detached->Get_string());
    delete detached;
    EXPECT_EQ(cStr("B"), root.GetSubQuote(0)->GetQuoteName());
    root.DelSubQuote(0);
    EXPECT_EQ(1, root.GetNSubQuotes());
    EXPECT_EQ(cStr("3"), root.GetSubQuote(0)->Get_string());
    root.DelSubQuote(5);  // out of range: nothing
    EXPECT_EQ(nullptr, root.RemoveSubQuote(5));

    root.Assign_int(-2147483647 - 1);
    EXPECT_EQ(cStr("-2147483648"), root.Get_string());
    root.ClearAll();
    EXPECT_TRUE(root.GetQuoteName().IsEmpty());
    EXPECT_TRUE(root.Get_string().IsEmpty());
    EXPECT_EQ(0, root.GetNSubQuotes());
}

TEST(XmlFile, WritesTheBareTextAndReadsItBack) {
    TempDir dir;
    std::string path = dir / "scene.xml";
    cXml root;
    BuildSample(root);
    EXPECT_TRUE(root.WriteToFile(path.c_str()));
    EXPECT_EQ(SampleText, ReadFile(path));  // no header, no terminating zero

    cXml back;
    EXPECT_TRUE(back.ReadFromFile(path.c_str()));
    EXPECT_TRUE(SameTree(root, back));

    cFile file;
    file.SetName("memory.xml");
    root.WriteToFile(&file);
    EXPECT_EQ(std::string(SampleText), std::string((const char*)file.GetData(), file.GetSize()));
    EXPECT_EQ(cStr("memory.xml"), file.GetName());
    cXml fromMemory;
    EXPECT_TRUE(fromMemory.ReadFromFile(file));
    EXPECT_TRUE(SameTree(root, fromMemory));

    WriteFile(dir / "empty.xml", "");
    EXPECT_FALSE(back.ReadFromFile((dir / "empty.xml").c_str()));
    WriteFile(dir / "bad.xml", "<a><b></a>");
    EXPECT_FALSE(back.ReadFromFile((dir / "bad.xml").c_str()));
    cFile empty;
    EXPECT_FALSE(back.ReadFromFile(empty));
}

TEST(ErrorPager, ReportingPagersLogAndSilentOnesKeepQuiet) {
    cXml node("Broken");
    node.Assign_string(std::string(600, 'x').c_str());

    LogTail tail;
    cErrorPager reporting(true);
    reporting.print("value %d\n", 5);
    reporting.xml_print(node, "bad %s\n", "thing");
    EXPECT_EQ(cStr("value 5\nbad thing\n"), reporting.GetText());
    std::string log = tail.Text();
    EXPECT_NE(std::string::npos, log.find("value 5"));
    std::string expectedSource = "<Broken>" + std::string(492, 'x') + "...";
    EXPECT_NE(std::string::npos, log.find("Class engine warning!\r\n\r\nbad thing\r\nXML source: " + expectedSource))
        << log;

    LogTail quiet;
    cErrorPager silent(false);
    silent.print("kept %s\n", "text");
    silent.xml_print(node, "dropped\n");
    EXPECT_EQ(cStr("kept text\n"), silent.GetText());
    EXPECT_EQ("", quiet.Text());
}
