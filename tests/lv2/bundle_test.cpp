// The built bundle as LV2 hosts see it: read and instantiated through lilv,
// the library Ardour, Audacity, Qtractor and jalv load plug-ins with.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/identity.h"
#include "core/pedal.h"
#include "formats/lv2/bundle_identity.h"
#include "formats/lv2/port_table.h"
#include "tests/support/guitar_like_signal.h"

namespace {

using namespace murkfell;
using namespace murkfell::lv2;

constexpr double kRate = 48000.0;

class Bundle : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    world = lilv_world_new();
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, MURKFELL_LV2_BUNDLE "/");
    lilv_world_load_bundle(world, bundle);
    lilv_node_free(bundle);
    LilvNode* pluginUri = lilv_new_uri(world, kPluginUri);
    plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), pluginUri);
    lilv_node_free(pluginUri);
  }
  static void TearDownTestSuite() {
    for (LilvNode* node : nodes) lilv_node_free(node);
    nodes.clear();
    lilv_world_free(world);
  }
  void SetUp() override { ASSERT_NE(plugin, nullptr) << "no " << kPluginUri << " in the bundle"; }

  static const LilvNode* node(const std::string& uri) {
    nodes.push_back(lilv_new_uri(world, uri.c_str()));
    return nodes.back();
  }
  static bool hasValue(const LilvNode* subject, const std::string& predicate,
                       const std::string& object) {
    return lilv_world_ask(world, subject, node(predicate), node(object));
  }

  static inline LilvWorld* world = nullptr;
  static inline const LilvPlugin* plugin = nullptr;
  static inline std::vector<LilvNode*> nodes;
};

std::string text(LilvNode* value) {
  const std::string result = value != nullptr ? lilv_node_as_string(value) : "";
  lilv_node_free(value);
  return result;
}

TEST_F(Bundle, NamesThePedalAndAsksTheHostForNothing) {
  EXPECT_EQ(text(lilv_plugin_get_name(plugin)), kProductName);
  EXPECT_EQ(text(lilv_plugin_get_author_name(plugin)), kVendorName);
  const LilvNode* uri = lilv_plugin_get_uri(plugin);
  EXPECT_TRUE(hasValue(uri, LILV_NS_RDF "type", LV2_CORE__DistortionPlugin));
  LilvNodes* required = lilv_plugin_get_required_features(plugin);
  EXPECT_EQ(lilv_nodes_size(required), 0u);
  lilv_nodes_free(required);
  EXPECT_TRUE(lilv_plugin_has_feature(plugin, node(LV2_CORE__hardRTCapable)));
  LilvNodes* minor = lilv_plugin_get_value(plugin, node(LV2_CORE__minorVersion));
  LilvNodes* micro = lilv_plugin_get_value(plugin, node(LV2_CORE__microVersion));
  ASSERT_EQ(lilv_nodes_size(minor), 1u);
  ASSERT_EQ(lilv_nodes_size(micro), 1u);
  EXPECT_EQ(lilv_node_as_int(lilv_nodes_get_first(minor)), MURKFELL_VERSION_MINOR);
  EXPECT_EQ(lilv_node_as_int(lilv_nodes_get_first(micro)), MURKFELL_VERSION_PATCH);
  lilv_nodes_free(minor);
  lilv_nodes_free(micro);
}

TEST_F(Bundle, PortsAreThoseOfThePortTable) {
  ASSERT_EQ(lilv_plugin_get_num_ports(plugin), kNumPorts);
  std::array<float, kNumPorts> minimum{};
  std::array<float, kNumPorts> maximum{};
  std::array<float, kNumPorts> defaults{};
  lilv_plugin_get_port_ranges_float(plugin, minimum.data(), maximum.data(), defaults.data());
  for (const PortInfo& info : kPorts) {
    SCOPED_TRACE(std::string(info.symbol));
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, info.index);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(lilv_node_as_string(lilv_port_get_symbol(plugin, port)), info.symbol);
    EXPECT_EQ(text(lilv_port_get_name(plugin, port)), info.name);
    const bool audio = info.role == PortRole::audioInput || info.role == PortRole::audioOutput;
    EXPECT_EQ(lilv_port_is_a(plugin, port, node(LV2_CORE__AudioPort)), audio);
    EXPECT_EQ(lilv_port_is_a(plugin, port, node(LV2_CORE__ControlPort)), !audio);
    EXPECT_EQ(lilv_port_is_a(plugin, port, node(LV2_CORE__OutputPort)),
              info.role == PortRole::audioOutput);
    if (audio) continue;
    EXPECT_EQ(defaults[info.index], defaultOf(info));
    EXPECT_EQ(minimum[info.index], 0.0f);
    EXPECT_EQ(maximum[info.index], 1.0f);
    const bool toggle =
        !info.parameter || kParameters[*info.parameter].reading == ValueReading::toggle;
    EXPECT_EQ(lilv_port_has_property(plugin, port, node(LV2_CORE__toggled)), toggle);
  }
  const LilvPort* enabled = lilv_plugin_get_port_by_designation(plugin, node(LV2_CORE__InputPort),
                                                                node(LV2_CORE__enabled));
  ASSERT_NE(enabled, nullptr);
  EXPECT_EQ(lilv_port_get_index(plugin, enabled), static_cast<std::uint32_t>(kEnabledPort));
}

TEST_F(Bundle, TheEditorIsAnX11UiDrivenByIdleCalls) {
  LilvUIs* uis = lilv_plugin_get_uis(plugin);
  ASSERT_EQ(lilv_uis_size(uis), 1u);
  const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
  const LilvNode* uri = lilv_ui_get_uri(ui);
  EXPECT_STREQ(lilv_node_as_uri(uri), kUiUri);
  EXPECT_TRUE(lilv_ui_is_a(ui, node(LV2_UI__X11UI)));
  char* binary = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
  EXPECT_TRUE(std::filesystem::exists(binary)) << binary;
  lilv_free(binary);
  EXPECT_TRUE(hasValue(uri, LV2_CORE__requiredFeature, LV2_UI__idleInterface));
  EXPECT_TRUE(hasValue(uri, LV2_CORE__requiredFeature, LV2_UI__parent));
  EXPECT_TRUE(hasValue(uri, LV2_CORE__extensionData, LV2_UI__idleInterface));
  lilv_uis_free(uis);
}

TEST_F(Bundle, RefusesRatesThePedalCannotRunAt) {
  for (double rate : {0.0, -44100.0, 1e9, std::numeric_limits<double>::quiet_NaN()}) {
    LilvInstance* instance = lilv_plugin_instantiate(plugin, rate, nullptr);
    EXPECT_EQ(instance, nullptr) << rate;
    if (instance != nullptr) lilv_instance_free(instance);
  }
}

// One instance of the bundle's DSP with its ports connected to values here.
class Instance {
 public:
  Instance(const LilvPlugin* plugin, double rate)
      : instance(lilv_plugin_instantiate(plugin, rate, nullptr)) {
    for (const PortInfo& port : kPorts) {
      controls[port.index] = defaultOf(port);
    }
  }
  ~Instance() {
    if (instance != nullptr) lilv_instance_free(instance);
  }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  bool valid() const { return instance != nullptr; }
  void connectControls() {
    for (const PortInfo& port : kPorts) {
      if (port.role == PortRole::control || port.role == PortRole::enabled) {
        lilv_instance_connect_port(instance, port.index, &controls[port.index]);
      }
    }
  }
  void activate() { lilv_instance_activate(instance); }
  void deactivate() { lilv_instance_deactivate(instance); }
  // Runs in blocks of the given sizes, cycling through them.
  std::vector<float> run(std::vector<float> input, const std::vector<std::uint32_t>& blocks) {
    std::vector<float> output(input.size());
    std::size_t done = 0;
    for (std::size_t i = 0; done < input.size(); ++i) {
      const auto frames = static_cast<std::uint32_t>(
          std::min<std::size_t>(blocks[i % blocks.size()], input.size() - done));
      lilv_instance_connect_port(instance, kAudioInput, input.data() + done);
      lilv_instance_connect_port(instance, kAudioOutput, output.data() + done);
      lilv_instance_run(instance, frames);
      done += frames;
    }
    return output;
  }

  std::array<float, kNumPorts> controls{};

 private:
  LilvInstance* instance;
};

std::vector<float> processed(Pedal& pedal, std::vector<float> signal) {
  pedal.process(signal.data(), signal.data(), static_cast<int>(signal.size()));
  return signal;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST_F(Bundle, SoundsBitForBitLikeThePedalWhateverTheBlocks) {
  const std::vector<float> first = guitarLikeSignal(9000, kRate);
  const std::vector<float> second(first.rbegin(), first.rend());
  Pedal pedal;
  pedal.setSampleRate(static_cast<float>(kRate));
  Instance lv2(plugin, kRate);
  ASSERT_TRUE(lv2.valid());
  lv2.connectControls();
  lv2.activate();
  const std::array<std::pair<ParameterId, float>, 6> settings{{{kGain, 0.8f},
                                                               {kBass, 0.3f},
                                                               {kMiddle, 0.7f},
                                                               {kTreble, 0.6f},
                                                               {kLevel, 0.9f},
                                                               {kCabSim, 0.0f}}};
  for (const auto& [id, value] : settings) {
    pedal.setParameter(id, value);
    lv2.controls[*portOf(id)] = value;
  }
  EXPECT_TRUE(sameBits(lv2.run(first, {1, 64, 1000, 333}), processed(pedal, first)));
  // A turn of the knobs between two runs, and the cabinet back on.
  pedal.setParameter(kTreble, 0.1f);
  pedal.setParameter(kCabSim, 1.0f);
  lv2.controls[kTreblePort] = 0.1f;
  lv2.controls[kCabSimPort] = 1.0f;
  EXPECT_TRUE(sameBits(lv2.run(second, {4096}), processed(pedal, second)));
}

TEST_F(Bundle, TheHostsBypassWorksTheFootswitch) {
  const std::vector<float> signal = guitarLikeSignal(4000, kRate);
  Pedal pedal;
  pedal.setSampleRate(static_cast<float>(kRate));
  Instance lv2(plugin, kRate);
  ASSERT_TRUE(lv2.valid());
  lv2.connectControls();
  lv2.activate();
  lv2.run(signal, {512});
  processed(pedal, signal);

  // Disabled by the host with the footswitch on: the input, untouched.
  lv2.controls[kEnabledPort] = 0.0f;
  EXPECT_TRUE(sameBits(lv2.run(signal, {512}), signal));
  pedal.setParameter(kBypass, 1.0f);
  processed(pedal, signal);
  // Enabled again: the pedal goes on as from its own footswitch.
  lv2.controls[kEnabledPort] = 1.0f;
  pedal.setParameter(kBypass, 0.0f);
  EXPECT_TRUE(sameBits(lv2.run(signal, {512}), processed(pedal, signal)));
  // The Bypass port alone bypasses too.
  lv2.controls[kBypassPort] = 1.0f;
  EXPECT_TRUE(sameBits(lv2.run(signal, {512}), signal));
}

TEST_F(Bundle, ActivatingAgainStartsAfresh) {
  const std::vector<float> signal = guitarLikeSignal(3000, kRate);
  Instance fresh(plugin, kRate);
  Instance reused(plugin, kRate);
  ASSERT_TRUE(fresh.valid() && reused.valid());
  fresh.connectControls();
  reused.connectControls();
  fresh.activate();
  reused.activate();
  const std::vector<float> first = fresh.run(signal, {512});
  EXPECT_TRUE(sameBits(reused.run(signal, {512}), first));
  // Activated again without a deactivate: the circuit goes on ringing.
  reused.activate();
  EXPECT_FALSE(sameBits(reused.run(signal, {512}), first));
  reused.deactivate();
  reused.activate();
  EXPECT_TRUE(sameBits(reused.run(signal, {512}), first));
}

TEST_F(Bundle, UnconnectedControlsCountAsTheirDefaults) {
  const std::vector<float> signal = guitarLikeSignal(2000, kRate);
  Instance lv2(plugin, kRate);
  ASSERT_TRUE(lv2.valid());
  lv2.activate();
  Pedal pedal;
  pedal.setSampleRate(static_cast<float>(kRate));
  EXPECT_TRUE(sameBits(lv2.run(signal, {256}), processed(pedal, signal)));
}

}  // namespace
