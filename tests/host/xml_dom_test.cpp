#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/xml_dom.h"
#include "support/module_fixture.h"
#include "support/text.h"

namespace {

IPtr<XmlDomDocument> newDocument() {
  return IPtr<XmlDomDocument>(new XmlDomDocument);
}

// Children are returned with the caller's reference.
IPtr<IZelDOMXmlElement> element(IZelDOMXml& document, const char16_t* name) {
  IPtr<IZelDOMXmlElement> made;
  made.takeOwnership(document.createElement(ZelString(name)));
  return made;
}

TEST(XmlDomWrite, AttributesAndChildrenComeOutInTheOrderAdded) {
  IPtr<XmlDomDocument> document = newDocument();
  IPtr<IZelDOMXmlElement> moved = element(*document, u"OnMoved");
  moved->setAttribute(ZelString(u"time"), ZelString(u"5"));
  document->setRootElement(moved.get());
  for (const char16_t* name : {u"Point", u"To"}) {
    IPtr<IZelDOMXmlElement> vector = element(*document, name);
    for (const char16_t* axis : {u"X", u"Y", u"Z"}) {
      IPtr<IZelDOMXmlElement> coordinate = element(*document, axis);
      coordinate->setText(ZelString(u"1.000000"));
      ASSERT_TRUE(vector->appendChild(coordinate.get()));
    }
    ASSERT_TRUE(moved->appendChild(vector.get()));
  }
  moved->setAttribute(ZelString(u"time"), ZelString(u"6"));
  ZelString out;
  document->serialize(out);
  EXPECT_EQ(text(out),
            u"<OnMoved time=\"6\"><Point><X>1.000000</X><Y>1.000000</Y><Z>1.000000</Z></Point>"
            u"<To><X>1.000000</X><Y>1.000000</Y><Z>1.000000</Z></To></OnMoved>");
}

TEST(XmlDomWrite, SettingANewRootReplacesTheOldAndEscapesText) {
  IPtr<XmlDomDocument> document = newDocument();
  IPtr<IZelDOMXmlElement> first = element(*document, u"SetRadius");
  document->setRootElement(first.get());
  IPtr<IZelDOMXmlElement> custom = element(*document, u"OnCustomEvent");
  custom->setAttribute(ZelString(u"name"), ZelString(u"a<b & \"c\""));
  document->setRootElement(custom.get());
  ZelString out;
  document->serialize(out);
  EXPECT_EQ(text(out), u"<OnCustomEvent name=\"a&lt;b &amp; &quot;c&quot;\"/>");
}

TEST(XmlDomRead, ParsedChildrenWalkInDocumentOrderWithTheirTexts) {
  IPtr<XmlDomDocument> document = newDocument();
  ASSERT_TRUE(
      document->parse(ZelString(u"<Log><SetRadius time=\"0\">0.003000</SetRadius>text<OnStop time=\"12\"/>"
                                u"<OnCustomEvent time=\"1\" name=\"\u00c9rror\"/></Log>")));
  IZelDOMXmlElement* root = document->rootElement();
  ASSERT_NE(root, nullptr);
  IPtr<IZelDOMXmlElementItr> children;
  children.takeOwnership(root->children());
  std::vector<std::u16string> seen;
  for (children->first(); !children->atEnd(); children->next()) {
    ZelString tag, time;
    children->current()->tagName(tag);
    children->current()->attribute(time, ZelString(u"time"));
    seen.push_back(text(tag) + u"@" + text(time));
  }
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"SetRadius@0", u"OnStop@12", u"OnCustomEvent@1"}));

  ZelString value;
  root->firstChild(ZelString(u"SetRadius"))->text(value);
  EXPECT_EQ(text(value), u"0.003000");
  root->firstChild(ZelString(u"OnCustomEvent"))->attribute(value, ZelString(u"name"));
  EXPECT_EQ(text(value), u"\u00c9rror");
  root->firstChild(ZelString(u"OnStop"))->attribute(value, ZelString(u"missing"));
  EXPECT_TRUE(value.isEmpty());
  EXPECT_EQ(root->firstChild(ZelString(u"onstop")), nullptr) << "names compare exactly";
  EXPECT_EQ(root->firstChild(ZelString(u"SetRadius")), root->firstChild(ZelString(u"SetRadius")));
}

std::u16string textOf(IZelDOMXmlElement* element) {
  ZelString out;
  element->text(out);
  return text(out);
}

TEST(XmlDomRead, AnElementsTextJoinsItsTextsAroundItsChildren) {
  IPtr<XmlDomDocument> document = newDocument();
  ASSERT_TRUE(document->parse(ZelString(u"<Log><T>a<![CDATA[<b>]]>c<i>x</i>d</T><E/></Log>")));
  IZelDOMXmlElement* root = document->rootElement();
  EXPECT_EQ(textOf(root->firstChild(ZelString(u"T"))), u"a<b>cd");
  EXPECT_EQ(textOf(root->firstChild(ZelString(u"E"))), u"");
}

// Walks hand out and reuse their views; whoever holds a reference keeps the element it got.
TEST(XmlDomRead, HeldElementsAndWalksUnderWayStayTheirOwn) {
  IPtr<XmlDomDocument> document = newDocument();
  ASSERT_TRUE(document->parse(ZelString(u"<Log><A>1</A><B>2</B><C>3</C></Log>")));
  IZelDOMXmlElement* root = document->rootElement();
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

TEST(XmlDomRead, MalformedTextIsRefusedAndLeavesNoRoot) {
  IPtr<XmlDomDocument> document = newDocument();
  EXPECT_FALSE(document->parse(ZelString(u"<Log><SetRadius time=\"0\">0.003</SetRad")));
  EXPECT_EQ(document->rootElement(), nullptr);
  EXPECT_FALSE(document->parse(ZelString(u"")));
}

TEST(XmlDomLoad, AMissingOrBrokenFileFailsWithAReasonAndAGoodOneLoads) {
  IPtr<XmlDomDocument> document = newDocument();
  EXPECT_FALSE(document->load(ZelString(u"/nonexistent/dir/materials.mtlx")));
  EXPECT_NE(text(document->lastError()->errorText()).find(u"materials.mtlx"), std::u16string::npos);

  std::string path = ::testing::TempDir() + "xml_dom_test.mtlx";
  std::ofstream(path) << "<Materials><Material Name=\"Steel\"/></Materials";
  EXPECT_FALSE(document->load(ZelString(path.c_str())));
  EXPECT_FALSE(document->lastError()->errorText().isEmpty());

  std::ofstream(path) << "<Materials><Material Name=\"Steel\"/></Materials>";
  ASSERT_TRUE(document->load(ZelString(path.c_str())));
  EXPECT_TRUE(document->lastError()->errorText().isEmpty());
  ZelString tag;
  document->rootElement()->tagName(tag);
  EXPECT_EQ(text(tag), u"Materials");
  std::remove(path.c_str());
}

using XmlDomService = ModuleTest;

TEST_F(XmlDomService, EveryLookupHandsOutAFreshDocument) {
  SPtr<IZelDOMXml> first;
  SPtr<IZelDOMXml> second;
  SPtr<IZelDOMXmlV2> reader;
  ASSERT_TRUE(first && second && reader);
  EXPECT_NE(static_cast<IZelUnknown*>(first.get()), static_cast<IZelUnknown*>(second.get()));
  EXPECT_EQ(first->refCount(), 1u) << "the module's pointer holds the only reference";
  ASSERT_TRUE(first->parse(ZelString(u"<a/>")));
  EXPECT_EQ(second->rootElement(), nullptr);
}

}  // namespace
