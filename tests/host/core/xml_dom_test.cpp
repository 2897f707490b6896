#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/core/xml_dom.h"
#include "platform/utf8.h"
#include "support/module_fixture.h"
#include "support/text.h"

namespace {

// Children are returned with the caller's reference.
IPtr<IZelDOMXmlElement> element(IZelDOMXml& document, const char16_t* name) {
  IPtr<IZelDOMXmlElement> made;
  made.takeOwnership(document.createElement(ZelString(name)));
  return made;
}

std::u16string textOf(IZelDOMXmlElement* element) {
  ZelString out;
  element->text(out);
  return text(out);
}

// A fresh document for each test.
class XmlDom : public ::testing::Test {
 protected:
  std::u16string serialized() {
    ZelString out;
    document_->serialize(out);
    return text(out);
  }
  std::u16string lastError() { return text(document_->lastError()->errorText()); }

  IPtr<XmlDomDocument> document_{new XmlDomDocument};
};

TEST_F(XmlDom, AttributesAndChildrenComeOutInTheOrderAddedEscapedUnderTheLastRootSet) {
  document_->setRootElement(element(*document_, u"SetRadius").get());
  IPtr<IZelDOMXmlElement> moved = element(*document_, u"OnMoved");
  moved->setAttribute(ZelString(u"time"), ZelString(u"5"));
  moved->setAttribute(ZelString(u"name"), ZelString(u"a<b & \"c\""));
  document_->setRootElement(moved.get());
  for (const char16_t* name : {u"Point", u"To"}) {
    IPtr<IZelDOMXmlElement> vector = element(*document_, name);
    for (const char16_t* axis : {u"X", u"Y", u"Z"}) {
      IPtr<IZelDOMXmlElement> coordinate = element(*document_, axis);
      coordinate->setText(ZelString(u"1.000000"));
      ASSERT_TRUE(vector->appendChild(coordinate.get()));
    }
    ASSERT_TRUE(moved->appendChild(vector.get()));
  }
  moved->setAttribute(ZelString(u"time"), ZelString(u"6"));
  EXPECT_EQ(serialized(),
            u"<OnMoved time=\"6\" name=\"a&lt;b &amp; "
            u"&quot;c&quot;\"><Point><X>1.000000</X><Y>1.000000</Y><Z>1.000000</Z></Point>"
            u"<To><X>1.000000</X><Y>1.000000</Y><Z>1.000000</Z></To></OnMoved>");
}

TEST_F(XmlDom, SerialisedTextKeepsEveryScriptAndAnEmptyDocumentGivesNone) {
  EXPECT_EQ(serialized(), u"");
  IPtr<IZelDOMXmlElement> custom = element(*document_, u"OnCustomEvent");
  custom->setAttribute(ZelString(u"name"), ZelString(u"\u00c9rror \u4e2d \U0001F600"));
  document_->setRootElement(custom.get());
  EXPECT_EQ(serialized(), u"<OnCustomEvent name=\"\u00c9rror \u4e2d \U0001F600\"/>");
}

TEST_F(XmlDom, ParsedChildrenWalkInDocumentOrderWithTheirTexts) {
  const std::u16string longTime(100, u'7');
  ASSERT_TRUE(document_->parse(ZelString(
      (u"<Log><SetRadius time=\"0\">0.003000</SetRadius>text<OnStop time=\"12\"/><\u00dcnit time=\"" +
       longTime + u"\"/><OnCustomEvent time=\"1\" name=\"\u00c9rror\"/></Log>")
          .c_str())));
  IZelDOMXmlElement* root = document_->rootElement();
  ASSERT_NE(root, nullptr);
  IPtr<IZelDOMXmlElementItr> children;
  children.takeOwnership(root->children());
  std::vector<std::u16string> seen;
  ZelString tag, time;  // each refilled in turn, as a reader does
  for (children->first(); !children->atEnd(); children->next()) {
    children->current()->tagName(tag);
    children->current()->attribute(time, ZelString(u"time"));
    seen.push_back(text(tag) + u"@" + text(time));
  }
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"SetRadius@0", u"OnStop@12", u"\u00dcnit@" + longTime,
                                               u"OnCustomEvent@1"}));

  EXPECT_EQ(textOf(root->firstChild(ZelString(u"SetRadius"))), u"0.003000");
  ZelString value;
  root->firstChild(ZelString(u"OnCustomEvent"))->attribute(value, ZelString(u"name"));
  EXPECT_EQ(text(value), u"\u00c9rror");
  root->firstChild(ZelString(u"OnStop"))->attribute(value, ZelString(u"missing"));
  EXPECT_TRUE(value.isEmpty());
  EXPECT_EQ(root->firstChild(ZelString(u"onstop")), nullptr) << "names compare exactly";
  EXPECT_EQ(root->firstChild(ZelString(u"SetRadius")), root->firstChild(ZelString(u"SetRadius")));
}

// A walk stands on the first element as handed out, before any first(), past text, comments and CDATA, and
// stays at its end once there.
TEST_F(XmlDom, AWalkStandsOnTheFirstElementAsHandedOutAndStaysAtItsEnd) {
  const struct {
    const char16_t* text;
    const char16_t* tags;
  } cases[] = {
      {u"<Log/>", u""},
      {u"<Log>only text<!-- and a note --></Log>", u""},
      {u"<Log>t<!-- n --><![CDATA[c]]><A/>u<B>b</B><!-- m --></Log>", u"AB"},
  };
  for (const auto& walked : cases) {
    SCOPED_TRACE(platform::toUtf8(walked.text));
    ASSERT_TRUE(document_->parse(ZelString(walked.text)));
    for (bool callsFirst : {false, true}) {
      IPtr<IZelDOMXmlElementItr> children;
      children.takeOwnership(document_->rootElement()->children());
      if (callsFirst) children->first();
      std::u16string tags;
      ZelString tag;
      for (; !children->atEnd(); children->next()) {
        IZelDOMXmlElement* child = children->current();
        ASSERT_EQ(child, children->current()) << "asked again, the same element";
        child->tagName(tag);
        tags += text(tag);
      }
      EXPECT_EQ(tags, walked.tags);
      children->next();
      EXPECT_TRUE(children->atEnd());
      EXPECT_EQ(children->current(), nullptr);
    }
  }
}

TEST_F(XmlDom, AnElementsTextJoinsItsTextsAroundItsChildren) {
  ASSERT_TRUE(document_->parse(ZelString(u"<Log><T>a<![CDATA[<b>]]>c<i>x</i>d</T><E/></Log>")));
  IZelDOMXmlElement* root = document_->rootElement();
  EXPECT_EQ(textOf(root->firstChild(ZelString(u"T"))), u"a<b>cd");
  EXPECT_EQ(textOf(root->firstChild(ZelString(u"E"))), u"");
}

// Walks hand out and reuse their views; whoever holds a reference keeps the element it got.
TEST_F(XmlDom, HeldElementsAndWalksUnderWayStayTheirOwn) {
  ASSERT_TRUE(document_->parse(ZelString(u"<Log><A>1</A><B>2</B><C>3</C></Log>")));
  IZelDOMXmlElement* root = document_->rootElement();
  IPtr<IZelDOMXmlElementItr> outer;
  outer.takeOwnership(root->children());
  IPtr<IZelDOMXmlElement> held(outer->current());
  outer->next();
  EXPECT_EQ(textOf(outer->current()), u"2");
  EXPECT_EQ(textOf(held.get()), u"1");

  for (int walk = 0; walk < 2; ++walk) {  // the second walk may reuse the first one's iterator
    IPtr<IZelDOMXmlElementItr> inner;
    inner.takeOwnership(root->children());
    std::u16string seen;
    for (; !inner->atEnd(); inner->next()) seen += textOf(inner->current());
    EXPECT_EQ(seen, u"123");
  }
  EXPECT_EQ(textOf(outer->current()), u"2") << "the other walks left this one where it was";
}

TEST_F(XmlDom, OnlyOneWellFormedElementWithNothingButWhiteSpaceBesideItIsADocument) {
  const struct {
    const char16_t* text;
    const char16_t* reason;  // the start of the error text, or null for a document
  } cases[] = {
      {u"<Log><SetRadius time=\"0\">0.003</SetRad", u"Start-end tags mismatch"},
      {u"", u"No document element found"},
      {u" \n<!-- only a note -->", u"No document element found"},
      {u"<Log/><Log/>", u"Text or a second element beside the document element"},
      {u"<Log/>t", u"Text or a second element beside the document element"},
      {u"notes <Log/>", u"Text or a second element beside the document element"},
      {u"<Log/><![CDATA[x]]>", u"Text or a second element beside the document element"},
      {u"<Log/>&#233;", u"Text or a second element beside the document element"},
      {u"<Log><OnCustomEvent name=\"Err&#0;or\"/></Log>", u"Character reference &#0; is no character of XML"},
      {u"<Log>&#x110000;</Log>", u"Character reference &#x110000; is no character of XML"},
      {u"<Log>&#12</Log>", u"Character reference &#12 has no ending ;"},
      {u"<Log>3&deg;</Log>", u"Undefined entity &deg; (at character 6)"},
      {u"<Log>\u00e9 3&deg;</Log>", u"Undefined entity &deg; (at character 8)"},
      {u"<Log>0123456789012345678901234567890123456789<a>&deg;</a></Log>",
       u"Undefined entity &deg; (at character 48)"},
      {u"<Log a=\"&lt;&#x9;&#233;\"><!-- &deg; --><![CDATA[&#0;]]><?pi &x;?>A &amp; B & C;</Log>", nullptr},
      {u"\ufeff<?xml version=\"1.0\"?>\r\n<Log>\u00e9</Log>\n\t", nullptr},
      {u" <Log>x</Log> ", nullptr},
  };
  for (const auto& parsed : cases) {
    SCOPED_TRACE(platform::toUtf8(parsed.text));
    EXPECT_EQ(document_->parse(ZelString(parsed.text)), !parsed.reason);
    EXPECT_EQ(document_->rootElement() != nullptr, !parsed.reason) << "a refused text leaves no root";
    const std::u16string error = lastError();
    EXPECT_TRUE(parsed.reason ? error.starts_with(parsed.reason) : error.empty()) << platform::toUtf8(error);
  }
}

TEST_F(XmlDom, AMissingOrBrokenFileFailsWithAReasonAndAGoodOneLoadsKnowingItsLines) {
  EXPECT_FALSE(document_->load(ZelString(u"/nonexistent/dir/materials.mtlx")));
  EXPECT_EQ(lastError(), u"File was not found: /nonexistent/dir/materials.mtlx");

  std::string path = ::testing::TempDir() + "xml_dom_test.mtlx";
  for (const char* broken : {"<Materials><Material Name=\"Steel\"/></Materials", "<Materials/>\nnotes",
                             "<Materials>\n<Steel name_i18n=\"&steel;\"/></Materials>"}) {
    std::ofstream(path) << broken;
    EXPECT_FALSE(document_->load(ZelString(path.c_str())));
    EXPECT_NE(lastError().find(u": " + text(ZelString(path.c_str()))), std::u16string::npos);
  }

  std::ofstream(path) << "\xEF\xBB\xBF<Materials>\n<Material Name=\"Steel\"/>\n\n<Material Name=\"Brass\">\n"
                         "<Density>7.9</Density></Material></Materials>";
  ASSERT_TRUE(document_->load(ZelString(path.c_str())));
  EXPECT_TRUE(document_->lastError()->errorText().isEmpty());
  IZelDOMXmlElement* root = document_->rootElement();
  EXPECT_EQ(root->line(), 1);
  std::vector<int32_t> lines;
  IPtr<IZelDOMXmlElementItr> materials;
  materials.takeOwnership(root->children());
  for (; !materials->atEnd(); materials->next()) {
    lines.push_back(materials->current()->line());
    if (IZelDOMXmlElement* density = materials->current()->firstChild(ZelString(u"Density")))
      lines.push_back(density->line());
  }
  EXPECT_EQ(lines, (std::vector<int32_t>{2, 4, 5}));
  ASSERT_TRUE(document_->parse(ZelString(u"<Materials>\n<Material/></Materials>")));
  EXPECT_EQ(document_->rootElement()->firstChild(ZelString(u"Material"))->line(), 0)
      << "a parsed text has no lines";
  std::remove(path.c_str());
}

using XmlDomService = ModuleTest;

TEST_F(XmlDomService, EveryLookupHandsOutAFreshDocument) {
  SPtr<IZelDOMXml> first, second;
  SPtr<IZelDOMXmlV2> reader;
  ASSERT_TRUE(first && second && reader);
  EXPECT_NE(static_cast<IZelUnknown*>(first.get()), static_cast<IZelUnknown*>(second.get()));
  EXPECT_EQ(first->refCount(), 1u) << "the module's pointer holds the only reference";
  ASSERT_TRUE(first->parse(ZelString(u"<a/>")));
  EXPECT_EQ(second->rootElement(), nullptr);
}

}  // namespace
