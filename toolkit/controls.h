// The standard controls. See control.h for the conventions they share.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/peer_factory.h"
#include "toolkit/spin_edit.h"

namespace tessavo::tk {

enum class TextAlign { Left, Center, Right };

// Text drawn on the form; no native window of its own.
class Label : public Control {
 public:
  struct CreateArgs {
    Rect bounds;            // width 0: sized to the caption
    std::string caption;
    std::optional<Font> font;
    bool shadow = false;    // a drop shadow one pixel down and right
    Color shadowColor = ClBtnShadow;
    TextAlign align = TextAlign::Left;
    bool raised = false;    // embossed: a light edge above, a dark one below
  };
  Label(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakePainted(*this);
  }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Shadow() const { return shadow_; }
  Color ShadowColor() const { return shadowColor_; }
  TextAlign Align() const { return align_; }
  bool Raised() const { return raised_; }
  // Made with width 0: the bounds follow the caption. Without a window
  // system they are an estimate from the font height; a peer that can
  // measure text sets the exact size.
  bool AutoSize() const { return autoSize_; }

 private:
  void FitToCaption();

  std::string caption_;
  bool autoSize_;
  bool shadow_;
  Color shadowColor_;
  TextAlign align_;
  bool raised_;
};

enum class BevelStyle { None, Lowered, Raised, Grooved };

// A framed area holding other controls, optionally with a caption.
class Panel : public Container {
 public:
  struct CreateArgs {
    Rect bounds;
    BevelStyle outer = BevelStyle::None;
    BevelStyle inner = BevelStyle::None;
    int borderWidth = 0;      // space between outer and inner edges
    std::string caption;      // drawn centred (sunken text panels)
    int alignment = 0;        // 0 centre, -1 left, 1 right
    int margin = 0;           // between a left or right aligned caption and the edge
  };
  Panel(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakePainted(*this);
  }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  BevelStyle Outer() const { return outer_; }
  BevelStyle Inner() const { return inner_; }
  int BorderWidth() const { return borderWidth_; }
  int Alignment() const { return alignment_; }
  int Margin() const { return margin_; }

 private:
  BevelStyle outer_, inner_;
  int borderWidth_;
  std::string caption_;
  int alignment_;
  int margin_;
};

// A separating line (top edge of its bounds).
class Bevel : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
  };
  Bevel(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakePainted(*this);
  }
};

class GroupBox : public Container {
 public:
  struct CreateArgs {
    Rect bounds;
    std::string caption;
  };
  GroupBox(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakePainted(*this);
  }
  const std::string& Caption() const { return caption_; }

 private:
  std::string caption_;
};

// Check boxes and radio buttons. Checking from code runs OnClick when the
// state changes; a radio button that becomes checked unchecks the other
// radio buttons of its parent.
class CheckBox : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    std::string caption;
    std::string hint;
    int tabOrder = -1;
  };
  CheckBox(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeButton(*this);
  }

  const std::string& Caption() const { return caption_; }
  bool Checked() const { return checked_; }
  virtual void SetChecked(bool checked);

  // The user clicked it (or pressed space): toggles.
  virtual void UserClick();

  Event OnClick;

 protected:
  CheckBox(Container* parent, ControlKind kind, const CreateArgs& args);
  void SetCheckedState(bool checked);

 private:
  std::string caption_;
  bool checked_ = false;
};

class RadioButton : public CheckBox {
 public:
  RadioButton(Container* parent, const CreateArgs& args);
  // OnClick runs only for the button that becomes checked.
  void SetChecked(bool checked) override;
  // The user clicked it: checks it (a click on a checked one does nothing).
  void UserClick() override;
};

class Button : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    std::string caption;
    std::string hint;
    int tabOrder = -1;
    bool isDefault = false;  // answers Enter
    bool isCancel = false;   // answers Esc
  };
  Button(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeButton(*this);
  }

  const std::string& Caption() const { return caption_; }
  bool IsDefault() const { return isDefault_; }
  bool IsCancel() const { return isCancel_; }

  // The user pressed it; does nothing while disabled.
  void UserClick();

  Event OnClick;

 private:
  std::string caption_;
  bool isDefault_, isCancel_;
};

// A drop-down list without typing. OnChange runs when the user picks an
// item; setting ItemIndex from code raises nothing.
class ComboBox : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    std::vector<std::string> items;
    std::string hint;
    int tabOrder = -1;
  };
  ComboBox(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeComboBox(*this);
  }

  const std::vector<std::string>& Items() const { return items_; }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);  // outside the items: no selection (-1)

  void UserSelect(int index);

  Event OnChange;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

// A list that holds no text: it knows its item count and asks OnGetItem
// for the text of each row it draws. Single selection; setting the item
// count to a value not above the selected row clears the selection.
class VirtualList : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    std::optional<Font> font;
    int rowHeight = 13;
    int tabOrder = -1;
  };
  VirtualList(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeVirtualList(*this);
  }

  int ItemCount() const { return itemCount_; }
  void SetItemCount(int count);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int RowHeight() const { return rowHeight_; }

  // The text of a row, through OnGetItem (empty without a handler).
  std::string ItemText(int index);
  // The same into text; false when OnGetItem failed (its error has been
  // shown), which a caller drawing many rows can take as a sign to stop.
  bool FetchItemText(int index, std::string& text);
  void Repaint() { Changed(Change::Repaint); }

  void UserSelect(int index);

  std::function<void(int index, std::string& text)> OnGetItem;
  Event OnChange;  // the user changed the selection

 private:
  int itemCount_ = 0;
  int itemIndex_ = -1;
  int rowHeight_;
};

// One simple text field at the bottom of the form.
class StatusBar : public Control {
 public:
  struct CreateArgs {
    int height = 19;
  };
  StatusBar(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeStatusBar(*this);
  }

  const std::string& SimpleText() const { return text_; }
  void SetSimpleText(std::string text);

 private:
  std::string text_;
};

class ProgressBar : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    int min = 0;
    int max = 100;
    int tabOrder = -1;
  };
  ProgressBar(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeProgressBar(*this);
  }

  int Position() const { return position_; }
  void SetPosition(int position);  // kept within min..max
  int Min() const { return min_; }
  int Max() const { return max_; }
  // A new range; the position is brought within it (min wins over max).
  void SetRange(int min, int max);

 private:
  int min_, max_, position_;
};

// A row of flat picture buttons along the top of the form.
class ToolBar : public Control {
 public:
  struct ButtonArgs {
    std::string picture;   // resource name; the greyed picture is picture + "_DISABLED"
    std::string hint;
    bool separator = false;
    int width = 25;        // a separator's width
  };
  class ToolButton {
   public:
    const std::string& Picture() const { return args_.picture; }
    const std::string& Hint() const { return args_.hint; }
    bool IsSeparator() const { return args_.separator; }
    int Width() const { return args_.width; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void UserClick();
    Event OnClick;

   private:
    friend class ToolBar;
    ToolButton(ToolBar* bar, ButtonArgs args) : bar_(bar), args_(std::move(args)) {}
    ToolBar* bar_;
    ButtonArgs args_;
    bool enabled_ = true;
  };

  struct CreateArgs {
    int height = 33;
    int buttonWidth = 25;
    int buttonHeight = 25;
  };
  ToolBar(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeToolBar(*this);
  }
  ~ToolBar() override;

  ToolButton& AddButton(ButtonArgs args);
  const std::vector<std::unique_ptr<ToolButton>>& Buttons() const { return buttons_; }
  int ButtonWidth() const { return buttonWidth_; }
  int ButtonHeight() const { return buttonHeight_; }
  // Which button lies under a point of the bar; nullptr if none (a
  // separator is a gap, not a button). Buttons stand left to right from
  // x = 0, each ButtonWidth wide, separators their own width, all from the
  // top of the bar down to ButtonHeight.
  ToolButton* ButtonAt(Point p);

 private:
  friend class ToolButton;
  int buttonWidth_, buttonHeight_;
  std::vector<std::unique_ptr<ToolButton>> buttons_;
};

}  // namespace tessavo::tk
