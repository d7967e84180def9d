#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

#include "resources/resource_table.h"
#include "tests/toolkit/pixels.h"
#include "tests/toolkit/test_views.h"
#include "toolkit/c_bitmap.h"
#include "toolkit/c_frame.h"
#include "toolkit/c_movie_bitmap.h"

namespace {

using Events = std::vector<std::string>;
constexpr CColor kRed{255, 0, 0, 255};
constexpr CColor kGreen{0, 200, 0, 255};

class Frame : public ::testing::Test {
 protected:
  ~Frame() override {
    if (frame != nullptr) frame->forget();
  }
  MouseView* mouseView(const CRect& size, const char* name,
                       CMouseEventResult answer = kMouseEventHandled) {
    auto* view = new MouseView(size, name, events, answer);
    frame->addView(view);
    return view;
  }
  void click(CPoint where) {
    frame->onMouseDown(where, kLButton);
    frame->onMouseUp(where, kLButton);
  }

  Events events;
  CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
};

TEST_F(Frame, PressGoesToTheFrontMostViewUnderIt) {
  mouseView(CRect(0, 0, 100, 100), "back");
  mouseView(CRect(10, 10, 50, 50), "middle");
  mouseView(CRect(40, 40, 90, 90), "front", kMouseEventNotHandled);
  for (CPoint where : {CPoint(45, 45), CPoint(20, 20), CPoint(5, 95)}) {
    frame->onMouseDown(where, kLButton);  // under all three, back and middle, back only
  }
  // The front view owns the first press although it did not handle it.
  EXPECT_EQ(events, (Events{"front down", "middle down", "back down"}));
}

TEST_F(Frame, DisabledInvisibleAndOutsideAreaViewsPassThePressOn) {
  mouseView(CRect(0, 0, 100, 100), "back");
  mouseView(CRect(0, 0, 100, 100), "disabled")->setMouseEnabled(false);
  mouseView(CRect(0, 0, 100, 100), "hidden")->setVisible(false);
  // Drawn over the whole frame, but only its top left corner takes the mouse.
  mouseView(CRect(0, 0, 100, 100), "corner")->setMouseableArea(CRect(0, 0, 10, 10));
  click({50, 50});
  click({5, 5});
  click({10, 10});  // right and bottom edges lie outside
  EXPECT_EQ(events,
            (Events{"back down", "back up", "corner down", "corner up", "back down", "back up"}));
}

TEST_F(Frame, HandledPressCapturesMovesAndReleaseUntilTheRelease) {
  mouseView(CRect(0, 0, 100, 100), "back");
  mouseView(CRect(0, 0, 20, 20), "small");
  CPoint inside(5, 5), outside(80, 80);
  frame->onMouseMoved(outside, 0);  // nothing captured yet
  frame->onMouseDown(inside, kLButton);
  frame->onMouseMoved(outside, kLButton);
  frame->onMouseUp(outside, kLButton);
  frame->onMouseMoved(outside, 0);
  EXPECT_EQ(events, (Events{"small down", "small moved", "small up"}));
}

TEST_F(Frame, WheelGoesToTheFrontMostViewUnderThePointer) {
  mouseView(CRect(0, 0, 100, 100), "back");
  mouseView(CRect(0, 0, 20, 20), "front", kMouseEventNotHandled);
  EXPECT_TRUE(frame->onWheel(CPoint(50, 50), 1.0f, 0));
  EXPECT_FALSE(frame->onWheel(CPoint(5, 5), 1.0f, 0));  // the front view owns it, unused
  EXPECT_FALSE(frame->onWheel(CPoint(150, 5), 1.0f, 0));
  EXPECT_EQ(events, (Events{"back wheel", "front wheel"}));
}

TEST_F(Frame, KeysGoUnderThePointerThenToTheViewTouchedLast) {
  mouseView(CRect(0, 0, 20, 20), "a");
  mouseView(CRect(40, 0, 60, 20), "b");
  mouseView(CRect(80, 0, 100, 20), "deaf", kMouseEventNotHandled);
  CKeyCode key{0, kVirtualKeyUp, 0};
  EXPECT_EQ(frame->onKeyDown(key), kKeyEventNotHandled);  // nothing under or touched yet
  click({5, 5});                                          // touches a
  CPoint overB(50, 5), overDeaf(90, 5), outside(50, 50);
  frame->onMouseMoved(overB, 0);
  EXPECT_EQ(frame->onKeyDown(key), kKeyEventHandled);
  frame->onMouseMoved(overDeaf, 0);
  EXPECT_EQ(frame->onKeyDown(key), kKeyEventHandled);  // passed on to a
  frame->onMouseMoved(outside, 0);
  frame->onKeyDown(key);
  frame->onMouseExited();
  frame->onKeyDown(key);
  EXPECT_EQ(events, (Events{"a down", "a up", "b key", "deaf key", "a key", "a key", "a key"}));

  frame->removeAll(true);  // the views touched are gone with it
  EXPECT_EQ(frame->onKeyDown(key), kKeyEventNotHandled);
}

// Takes every view out of its frame, itself included, when pressed.
class ClearingView : public CView {
 public:
  using CView::CView;
  CMouseEventResult onMouseDown(CPoint&, const long&) override {
    getFrame()->removeAll(true);
    return kMouseEventHandled;
  }
};

TEST_F(Frame, ViewRemovedByItsOwnPressIsNotTouchedAfterwards) {
  frame->addView(new ClearingView(CRect(0, 0, 100, 100)));
  CPoint where(5, 5);
  EXPECT_EQ(frame->onMouseDown(where, kLButton), kMouseEventHandled);
  EXPECT_EQ(frame->getNbViews(), 0);
  EXPECT_EQ(frame->onMouseUp(where, kLButton), kMouseEventNotHandled);
}

TEST_F(Frame, RemoveAllDetachesAndForgetsOnlyWhenAsked) {
  auto* view = mouseView(CRect(0, 0, 10, 10), "a");
  view->remember();  // the test's own reference
  frame->removeAll(false);
  EXPECT_FALSE(view->isAttached());
  EXPECT_EQ(view->getNbReference(), 2);
  click({5, 5});
  EXPECT_TRUE(events.empty());

  frame->addView(view);
  frame->removeAll(true);
  EXPECT_EQ(view->getNbReference(), 1);

  view->remember();
  frame->addView(view);
  frame->forget();  // a frame's destructor forgets its views
  frame = nullptr;
  EXPECT_EQ(view->getNbReference(), 1);
  view->forget();
}

TEST_F(Frame, IdleRedrawsOnlyDirtyAreasFromTheBottomUp) {
  auto* back = new SolidView(CRect(0, 0, 100, 100), kGreen);
  auto* other = new SolidView(CRect(60, 60, 100, 100), kGreen);
  frame->addView(back);
  frame->addView(other);
  auto* image = new CBitmap(murkfell::findImage("KeyedFrames.png"));  // see-through, red
  auto* lamp = new CMovieBitmap(CRect(10, 10, 12, 12), nullptr, 8, 2, 2, image);
  image->forget();
  frame->addView(lamp);

  lamp->setValue(1.0f);
  frame->idle();  // the first idle draws everything
  EXPECT_EQ(pixelAt(frame->getImage(), 10, 10), kRed);
  frame->idle();
  EXPECT_EQ(back->draws, 1);  // nothing dirty, nothing drawn

  lamp->setValue(0.0f);  // key colour: what lies under it must show again
  frame->idle();
  EXPECT_EQ(pixelAt(frame->getImage(), 10, 10), kGreen);
  EXPECT_EQ(back->draws, 2);
  EXPECT_EQ(other->draws, 1);  // outside the lamp's area

  lamp->setValue(std::numeric_limits<float>::quiet_NaN());
  frame->idle();
  frame->idle();  // a NaN is drawn once, not at every idle
  EXPECT_EQ(back->draws, 3);

  frame->setDirty(true);
  frame->idle();
  EXPECT_EQ(other->draws, 2);
}

// Centred white text in a view of its own.
class Caption : public CView {
 public:
  using CView::CView;
  void draw(CDrawContext* context) override {
    context->setFont(kSystemFont, 10, -1);
    context->setFontColor(kWhiteCColor);
    context->drawString("IIIIIIIIII", size);
  }
};

TEST_F(Frame, OffScreenRenderDrawsThePanelIntoItsImage) {
  frame->forget();
  frame = new CFrame(CRect(0, 0, 340, 400), nullptr, nullptr);
  auto* image = new CBitmap(murkfell::findImage("KeyedFrames.png"));
  frame->addView(new CMovieBitmap(CRect(20, 20, 22, 22), nullptr, 8, 2, 2, image, CPoint(0, 2)));
  image->forget();
  frame->addView(new Caption(CRect(70, 220, 270, 240)));

  frame->idle();
  cairo_surface_t* png = frame->getImage();
  EXPECT_EQ(cairo_image_surface_get_width(png), 340);
  EXPECT_EQ(cairo_image_surface_get_height(png), 400);
  EXPECT_EQ(pixelAt(png, 21, 21), kRed);
  EXPECT_EQ(pixelAt(png, 19, 21), kBlackCColor);  // uncovered parts are black
  int lit = 0;
  for (int x = 150; x < 190; ++x) {
    lit += pixelAt(png, x, 230).red > 0 ? 1 : 0;
  }
  EXPECT_GT(lit, 5);
  EXPECT_EQ(pixelAt(png, 140, 230), kBlackCColor);  // beside the centred text
}

}  // namespace
