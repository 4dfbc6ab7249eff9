// The control record: the extended combo-list encoding, its properties in a layout file, the type
// table, and the pixel conversions of a layout.
#include "designer/tests/DesignerTestSupport.h"

#include <cmath>
#include <limits>

namespace {

using kxtest::makeControl;
using T = Kx_ControlType;

Kx_DesignerControl split(T type, const Kx_String& text)
{
    Kx_DesignerControl c;
    c.setType(type);
    c.setSplitExtComboList(text);
    return c;
}

TEST(ExtendedComboList, FlexButtonPartsKeepTheirPlacesAndComeBackWithEverySeparator)
{
    const Kx_DesignerControl c = split(T::FlexButton, "g;;v");
    EXPECT_EQ(c.getExtA(1), "g");
    EXPECT_EQ(c.getExtA(2), "");
    EXPECT_EQ(c.getExtA(3), "v");
    EXPECT_EQ(c.getExtA(4), "");
    EXPECT_EQ(c.getMergedExtComboList(), "g;;v;");
    EXPECT_EQ(split(T::FlexButton, c.getMergedExtComboList()).getMergedExtComboList(), "g;;v;");
}

TEST(ExtendedComboList, DimensionButtonsHoldFourPartsAndTheComboList)
{
    EXPECT_EQ(split(T::DimensionButton, "").getMergedExtComboList(), ";;;;");
    const Kx_DesignerControl c = split(T::DimensionButtonTwoValues, "b1;b2;b3;b4;list;dropped");
    EXPECT_EQ(c.getExtB(1), "b1");
    EXPECT_EQ(c.getExtB(4), "b4");
    EXPECT_EQ(c.getComboList(), "list");
    EXPECT_EQ(c.getMergedExtComboList(), "b1;b2;b3;b4;list");
}

TEST(ExtendedComboList, ASplitClearsThePartsTheTextDoesNotGive)
{
    Kx_DesignerControl c = split(T::DimensionButton, "a;b;c;d;e");
    c.setSplitExtComboList("x");
    EXPECT_EQ(c.getMergedExtComboList(), "x;;;;");
    c.setType(T::FlexButton);
    c.setSplitExtComboList("a;b;c;d");
    c.setSplitExtComboList("");
    EXPECT_EQ(c.getMergedExtComboList(), ";;;");
}

TEST(ExtendedComboList, OtherTypesKeepTheWholeTextAndClearB2)
{
    Kx_DesignerControl c = split(T::DimensionButton, "a;b;c;d;e");
    c.setType(T::VariableEdit);
    EXPECT_TRUE(c.setSplitExtComboList("x;y"));
    EXPECT_EQ(c.getComboList(), "x;y");
    EXPECT_EQ(c.getMergedExtComboList(), "x;y");
    EXPECT_EQ(c.getExtB(2), "");
    EXPECT_EQ(c.getExtB(1), "a");
    // A separator byte inside a character is not a separator.
    EXPECT_EQ(split(T::FlexButton, "ä;ÿ").getExtA(2), "ÿ");
}

TEST(ExtendedComboList, PartIndicesOutsideOneToFourAreIgnored)
{
    Kx_DesignerControl c;
    c.setExtA(0, "x");
    c.setExtB(5, "y");
    EXPECT_EQ(c.getExtA(0), "");
    EXPECT_EQ(c.getExtB(5), "");
}

TEST(ControlProperties, WriteThenReadGivesTheSameControlUnderItsIndex)
{
    Kx_DesignerControl c = makeControl(T::FlexButton, 0.125, 0.25, 0.5, 1.0 / 3, "Länge \"x\"", "grp;icon;var;");
    c.setResourceId(33005);
    c.setTabOrder(4);
    c.setReadOnly(true);
    Kx_PropertiesList list;
    c.setToPropList(list, 12);
    EXPECT_EQ(list.getNames(), (Kx_StringArray{"type12", "topLeftX12", "topLeftY12", "bottomRightX12",
                                               "bottomRightY12", "contents12", "comboList12"}));
    Kx_DesignerControl back;
    back.getFromPropList(list, 12);
    EXPECT_EQ(back.getType(), T::FlexButton);
    EXPECT_EQ(back.bottomRightY(), 1.0 / 3);
    EXPECT_EQ(back.getContents(), "Länge \"x\"");
    EXPECT_EQ(back.getMergedExtComboList(), "grp;icon;var;");
    // Not stored: id, tab order and read-only flag.
    EXPECT_EQ(back.getResourceId(), 0);
    EXPECT_EQ(back.getTabOrder(), 0);
    EXPECT_FALSE(back.isReadOnly());
}

TEST(ControlProperties, AbsentPropertiesLeaveFieldsButAMissingTypeIsALabel)
{
    Kx_DesignerControl c = makeControl(T::CheckBox, 0.1, 0.2, 0.3, 0.4, "old", "1");
    Kx_PropertiesList list;
    list.setProperty("topLeftY0", 0.75);
    c.getFromPropList(list, 0);
    EXPECT_EQ(c.getType(), T::Label);
    EXPECT_EQ(c.topLeftX(), 0.1);
    EXPECT_EQ(c.topLeftY(), 0.75);
    EXPECT_EQ(c.getContents(), "old");
    EXPECT_EQ(c.getComboList(), "1");
}

TEST(ControlProperties, NumbersStoredAsAnotherTypeAreTakenAndTextThatIsNoNumberIsNot)
{
    Kx_PropertiesList list;
    list.setProperty("type0", Kx_String("4"));
    list.setProperty("topLeftX0", 1);
    list.setProperty("topLeftY0", Kx_String("0.5"));
    list.setProperty("bottomRightX0", Kx_String("abc"));
    list.setProperty("contents0", 3);
    Kx_DesignerControl c = makeControl(T::Label, 0, 0, 0.9, 0);
    c.getFromPropList(list, 0);
    EXPECT_EQ(c.getType(), T::PatternValueEdit);
    EXPECT_EQ(c.topLeftX(), 1.0);
    EXPECT_EQ(c.topLeftY(), 0.5);
    EXPECT_EQ(c.bottomRightX(), 0.9);
    EXPECT_EQ(c.getContents(), "3");
}

TEST(ControlProperties, AnUnknownTypeCodeIsKeptAndWrittenBack)
{
    Kx_PropertiesList list;
    list.setProperty("type0", 57);
    Kx_DesignerControl c;
    c.getFromPropList(list, 0);
    EXPECT_EQ(toInt(c.getType()), 57);
    EXPECT_FALSE(isKnownControlType(c.getType()));
    EXPECT_EQ(windowKindOf(c.getType()), Kx_WindowKind::Static);
    Kx_PropertiesList again;
    c.setToPropList(again, 0);
    int type = 0;
    EXPECT_TRUE(again.getProperty("type0", type));
    EXPECT_EQ(type, 57);
}

class ControlTypeTexts : public kxtest::DesignerTest {};

TEST_F(ControlTypeTexts, NamesDescriptionsAndHintsComeFromTheTextTables)
{
    EXPECT_EQ(controlTypeName(T::Label), dialString(799));
    EXPECT_EQ(controlTypeName(T::PatternButton), dialString(804));
    EXPECT_EQ(controlTypeName(T::ArrayButton), dialString(822));
    EXPECT_EQ(controlTypeName(T::DimensionButtonTwoValues), dialString(1315));
    EXPECT_EQ(controlTypeName(T::PatternCountEdit), dialString(803) + " 2: " + string(2220));
    EXPECT_EQ(controlTypeName(static_cast<T>(31)), "");
    EXPECT_EQ(controlTypeDescription(T::BoltAdvancedButton), "");
    EXPECT_EQ(controlTypeDescription(T::ProfileAngleCombo), dialString(830));
    EXPECT_EQ(controlTypeHint(T::FlexButton), dialString(705) + ";" + dialString(1430) + ";" + dialString(1431));
    EXPECT_EQ(controlTypeHint(T::ArrayEntryEdit), dialString(834));
    // The designer offers the combo-list field exactly for these types.
    std::vector<int> withField;
    for (int code = 0; code < kControlTypeCount; ++code) {
        if (hasComboListField(static_cast<T>(code)))
            withField.push_back(code);
    }
    EXPECT_EQ(withField, (std::vector<int>{0, 1, 3, 23, 25, 26, 27, 29, 30}));
}

TEST(ControlWindowKinds, EachTypeBecomesTheWindowItsBehaviourNeeds)
{
    using K = Kx_WindowKind;
    const K expected[kControlTypeCount] = {
        K::Static,        K::GroupFrame,    K::Edit,         K::DropDownCombo, K::MultiLineEdit, K::MultiLineEdit,
        K::PushButton,    K::DropDownList,  K::Edit,         K::Edit,          K::Edit,          K::Edit,
        K::PushButton,    K::DropDownList,  K::PushButton,   K::DropDownList,  K::DropDownCombo, K::PushButton,
        K::Edit,          K::Edit,          K::Edit,         K::Edit,          K::Edit,          K::Edit,
        K::PushButton,    K::PushButton,    K::PushButton,   K::DropDownList,  K::DropDownList,  K::CheckBox,
        K::FlexButton,
    };
    for (int code = 0; code < kControlTypeCount; ++code)
        EXPECT_EQ(windowKindOf(static_cast<T>(code)), expected[code]) << "type " << code;
}

// --- Factors and pixels, on a layout with a 200 x 100 picture ---------------------------------------

class Conversions : public kxtest::DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        writeLayout("picture", "", 200, 100);
        ASSERT_TRUE(layout.attachBitmap(Kx_String(layoutPath("picture.bmp"))));
    }
    Kx_DlgDesignerData layout;
};

TEST_F(Conversions, SetHeightKeepsTheBottomAndSetWidthKeepsTheLeft)
{
    Kx_DesignerControl c = makeControl(T::VariableEdit, 0.05, 0.5, 0.5, 1.0);
    layout.setHeight(c, 20);
    EXPECT_DOUBLE_EQ(layout.getTopLeftY(c), 80);
    EXPECT_DOUBLE_EQ(layout.getBottomRightY(c), 100);
    layout.setWidth(c, 30);
    EXPECT_DOUBLE_EQ(layout.getTopLeftX(c), 10);
    EXPECT_DOUBLE_EQ(layout.getBottomRightX(c), 40);
    EXPECT_DOUBLE_EQ(layout.getWidth(c), 30);
    EXPECT_DOUBLE_EQ(layout.getHeight(c), 20);
}

TEST_F(Conversions, DrawnRectanglesRoundToTheNearestPixelAndStayInRange)
{
    // Halves go away from zero: 12.5 px gives 13.
    const Kx_DesignerControl c = makeControl(T::VariableEdit, 0.0625, 0.125, 0.515625, 0.999);
    EXPECT_EQ(layout.getDrawnRect(c), (RECT{13, 13, 103, 100}));
    // Outside the picture is allowed; absurd factors stay within window coordinates.
    const Kx_DesignerControl far = makeControl(T::VariableEdit, -0.5, 1.5, 1e300, std::nan(""));
    EXPECT_EQ(layout.getDrawnRect(far), (RECT{-100, 150, kMaxDesignerCoordinate, 0}));
    const Kx_DesignerControl inf = makeControl(T::VariableEdit, -std::numeric_limits<double>::infinity(), 0, 0, 0);
    EXPECT_EQ(layout.getDrawnRect(inf).left, 0);
}

TEST(ConversionsWithoutPicture, NothingDividesByZeroAndFactorsAreKept)
{
    Kx_DlgDesignerData layout;
    Kx_DesignerControl c = makeControl(T::VariableEdit, 0.1, 0.2, 0.3, 0.4);
    EXPECT_EQ(layout.factorToPixels(true, 0.5), 0);
    EXPECT_EQ(layout.pixelsToFactor(false, 30), 0);
    layout.setTopLeftX(c, 50);
    layout.setHeight(c, 20);
    EXPECT_EQ(c.topLeftX(), 0.1);
    EXPECT_EQ(c.topLeftY(), 0.2);
    int w = -1;
    int h = -1;
    layout.getImageSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST_F(Conversions, PixelsThatAreNoNumberLeaveTheFactor)
{
    Kx_DesignerControl c = makeControl(T::VariableEdit, 0.1, 0.2, 0.3, 0.4);
    layout.setBottomRightX(c, std::nan(""));
    layout.setTopLeftY(c, std::numeric_limits<double>::infinity());
    EXPECT_EQ(c.bottomRightX(), 0.3);
    EXPECT_EQ(c.topLeftY(), 0.2);
    EXPECT_EQ(layout.factorToPixels(true, std::nan("")), 0);
}

TEST_F(Conversions, TheImageSizeIsReportedOnlyOnceTheLayoutIsInitialised)
{
    int w = -1;
    int h = -1;
    layout.getImageSize(w, h);
    EXPECT_EQ(w, 0);
    HWND host = CreateWindowEx(0, "Static", "host", WS_VISIBLE, 0, 0, 300, 200, nullptr, 0);
    ASSERT_TRUE(layout.initialize(host, 1, 10, 0, 0, 0, 0, 0, false));
    layout.getImageSize(w, h);
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 100);
}

} // namespace
