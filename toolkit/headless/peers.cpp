// The headless peers: they stand where native windows stand on Windows.
// Each keeps a mirror of its control's state, taken afresh whenever the
// control reports a change, and the log of those reports; a control whose
// state differs from its mirror changed without telling its peer, which on
// Windows would leave the screen showing something else. The form peer
// also does what the window manager does: activation when a form appears
// or is asked for, handing it on when the form goes, the modal loop.
#include <sstream>
#include <string>
#include <vector>

#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/headless/headless_app.h"
#include "toolkit/headless_scripting.h"
#include "toolkit/peer_factory.h"

namespace tessavo::tk {
namespace headless {
namespace {

void Put(std::ostringstream& out, const Font& font) {
  out << " font=" << font.name << '/' << font.height << '/' << font.bold << font.italic
      << font.underline << '/' << font.color;
}

template <class T>
const T* As(const Control& control) {
  return dynamic_cast<const T*>(&control);
}

}  // namespace

std::string DescribeControl(const Control& control) {
  std::ostringstream out;
  const Rect& b = control.Bounds();
  out << "bounds=" << b.left << ',' << b.top << ',' << b.width << ',' << b.height
      << " visible=" << control.Visible() << " enabled=" << control.Enabled()
      << " cursor=" << static_cast<int>(control.GetCursor());
  Put(out, control.GetFont());
  if (auto* form = As<Form>(control)) {
    out << " caption=" << form->Caption() << " at=" << form->Left() << ',' << form->Top()
        << " ontop=" << form->StayOnTop();
  } else if (auto* label = As<Label>(control)) {
    out << " caption=" << label->Caption();
  } else if (auto* panel = As<Panel>(control)) {
    out << " caption=" << panel->Caption();
  } else if (auto* box = As<CheckBox>(control)) {
    out << " caption=" << box->Caption() << " checked=" << box->Checked();
  } else if (auto* button = As<Button>(control)) {
    out << " caption=" << button->Caption();
  } else if (auto* spin = As<SpinEdit>(control)) {
    out << " text=" << spin->Text() << " limits=" << spin->MinValue() << ',' << spin->MaxValue();
  } else if (auto* combo = As<ComboBox>(control)) {
    out << " items=" << combo->Items().size() << " index=" << combo->ItemIndex();
  } else if (auto* list = As<VirtualList>(control)) {
    out << " count=" << list->ItemCount() << " index=" << list->ItemIndex();
  } else if (auto* status = As<StatusBar>(control)) {
    out << " text=" << status->SimpleText();
  } else if (auto* bar = As<ProgressBar>(control)) {
    out << " position=" << bar->Position() << " range=" << bar->Min() << ',' << bar->Max();
  } else if (auto* tools = As<ToolBar>(control)) {
    out << " buttons=";
    for (const auto& tool : tools->Buttons()) out << tool->Enabled();
  }
  if (const std::string own = control.StateText(); !own.empty()) out << ' ' << own;
  return out.str();
}

class RecordingPeer : public virtual ControlPeer {
 public:
  explicit RecordingPeer(Control& control)
      : control_(control), mirror_(DescribeControl(control)) {}

  void Update(Change what) override {
    updates_.push_back(what);
    mirror_ = DescribeControl(control_);
  }

  const std::string& Mirror() const { return mirror_; }
  const std::vector<Change>& Updates() const { return updates_; }

 protected:
  Control& control_;

 private:
  std::string mirror_;
  std::vector<Change> updates_;
};

namespace {

class ControlRecorder final : public RecordingPeer {
 public:
  using RecordingPeer::RecordingPeer;
};

std::unique_ptr<ControlPeer> Record(Control& control) {
  return std::make_unique<ControlRecorder>(control);
}

class FormRecorder final : public FormPeer, public RecordingPeer {
 public:
  explicit FormRecorder(Form& form) : RecordingPeer(form), form_(form) {}

  void Update(Change what) override {
    RecordingPeer::Update(what);
    switch (what) {
      case Change::Visible:
        if (form_.Visible()) {
          form_.UserActivated(true);
        } else if (form_.Active()) {
          HandActivationOn();
        }
        break;
      case Change::Focus:
        if (form_.Visible()) form_.UserActivated(true);
        break;
      default:
        break;
    }
  }

  void CreateControls() override {
    PeerFactory factory(*this);
    auto walk = [&factory](auto& self, Container& container) -> void {
      for (Control* child : container.Children()) {
        if (!child->Peer()) child->AttachPeer(child->CreatePeer(factory));
        if (auto* inner = dynamic_cast<Container*>(child)) self(self, *inner);
      }
    };
    walk(walk, form_);
  }

  void RunModal() override {
    Platform().RunModalLoop(
        [this] { return form_.GetModalResult() != ModalResult::None || !form_.Visible(); });
  }

  void Minimize() override { form_.UserMinimized(); }

  std::optional<Point> PointerPosition() override { return pointer_; }
  void SetPointer(std::optional<Point> p) { pointer_ = p; }

 private:
  // As the window manager does: to the owner, else to the main form, if
  // it can take it.
  void HandActivationOn() {
    Form* next = form_.Owner() ? form_.Owner() : App().MainForm();
    form_.UserActivated(false);
    if (next && next != &form_ && next->Visible() && next->Enabled()) next->UserActivated(true);
  }

  Form& form_;
  std::optional<Point> pointer_;
};

void CollectUnreported(const Control& control, std::vector<std::string>& found) {
  auto* peer = dynamic_cast<const RecordingPeer*>(control.Peer());
  const std::string name = control.Name().empty() ? "a control" : control.Name();
  if (!peer) {
    found.push_back(name + " has no peer");
  } else if (const std::string now = DescribeControl(control); now != peer->Mirror()) {
    found.push_back(name + " changed without telling its peer: it shows [" + peer->Mirror() +
                    "] but is [" + now + "]");
  }
  if (auto* container = dynamic_cast<const Container*>(&control)) {
    for (const Control* child : container->Children()) CollectUnreported(*child, found);
  }
}

}  // namespace

std::vector<std::string> UnreportedChanges(const Form& form) {
  std::vector<std::string> found;
  if (form.Peer()) CollectUnreported(form, found);
  return found;
}

std::vector<Change> PeerUpdates(const Control& control) {
  auto* peer = dynamic_cast<const RecordingPeer*>(control.Peer());
  return peer ? peer->Updates() : std::vector<Change>{};
}

void MovePointer(Form& form, std::optional<Point> p) {
  form.CreateHandle();
  static_cast<FormRecorder*>(form.GetFormPeer())->SetPointer(p);
  if (p) {
    form.UserPointerAt(*p);
  } else {
    form.UserPointerLeft();
  }
}

}  // namespace headless

std::unique_ptr<FormPeer> CreateFormPeer(Form& form) {
  return std::make_unique<headless::FormRecorder>(form);
}

// Every kind of control gets the same recorder.
std::unique_ptr<ControlPeer> PeerFactory::MakePainted(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeSelfPainted(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeButton(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeComboBox(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeSpinEdit(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeVirtualList(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeStatusBar(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeProgressBar(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeToolBar(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeSpeedButton(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeBrowseEdit(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeEdit(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeUpDown(Control& c) { return headless::Record(c); }
std::unique_ptr<ControlPeer> PeerFactory::MakeColorBox(Control& c) { return headless::Record(c); }

}  // namespace tessavo::tk
