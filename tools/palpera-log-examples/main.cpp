// palpera-log-examples: writes the device-event logs that ship under examples/logs, through the module's own
// writer on the stand-in host, with a fixed clock so that every run gives the same bytes. `make logs` runs it
// into examples/logs; the tests check that the shipped logs are what it writes.
//
//   palpera-log-examples <directory>
//
// The logs are recordings of an operator with a hard-probe arm (3 mm tip radius for the single-point probe,
// 2.5 mm for the continuous capture), in metres, with the arm reporting its position about 30 times a second
// and the operator pausing before each point is taken. A sampled point is the tip ball's centre, as a device
// reports it.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "framework/object/host_detach.h"
#include "framework/object/iptr.h"
#include "host/standin_host.h"
#include "host_api/zel_component.h"
#include "platform/process.h"
#include "platform/utf8.h"
#include "timed_log.h"

namespace {

constexpr double kMoveIntervalMs = 33;  // the arm's position rate
constexpr double kPi = 3.14159265358979323846;

const Vector3 kProbeDown(0, 0, -1);
const Vector3 kProbeUp(0, 1, 0);

// A few micrometres of repeatable scatter, as a real arm shows on its points.
Vector3 scatter(int k) {
  const double goldenAngle = 2.399963229728653;
  return {1.8e-6 * std::sin(k * goldenAngle), 1.4e-6 * std::cos(k * goldenAngle * 1.3),
          2.1e-6 * std::sin(k * goldenAngle * 0.7)};
}

// Moves from one position to another in steps of the position rate.
void travel(TimedLog& log, const Vector3& from, const Vector3& to, int steps) {
  for (int i = 1; i <= steps; ++i) {
    log.wait(kMoveIntervalMs);
    log.moved(from + (to - from) * (static_cast<double>(i) / steps), kProbeDown, kProbeUp);
  }
}

// Approaches each point from above, takes it after a pause, and backs off again.
Vector3 probePoints(TimedLog& log, Vector3 at, const std::vector<Vector3>& points, double clearance) {
  int k = 0;
  for (const Vector3& point : points) {
    Vector3 above = point + Vector3(0, 0, clearance);
    travel(log, at, above, 6);
    travel(log, above, point, 3);
    log.wait(280 + 90 * (k % 3));
    log.sampled(point + scatter(++k));
    at = point + Vector3(0, 0, 0.004);
    log.wait(kMoveIntervalMs);
    log.moved(at, kProbeDown, kProbeUp);
  }
  return at;
}

void writePlane(const ZelString& path) {
  TimedLog log(path);
  const double radius = 0.003;
  log.radius(radius);
  // The top face of a fixture plate, 45.2 mm above the table and slightly tilted.
  auto surface = [](double x, double y) { return 0.0452 + 0.0004 * x - 0.0002 * y; };
  std::vector<Vector3> centres;
  for (auto [x, y] :
       {std::pair{0.105, 0.062}, {0.188, 0.071}, {0.176, 0.139}, {0.097, 0.128}, {0.142, 0.101}})
    centres.push_back({x, y, surface(x, y) + radius});
  Vector3 home(0.305, 0.248, 0.196);
  log.moved(home, kProbeDown, kProbeUp);
  Vector3 at = probePoints(log, home, centres, 0.025);
  Vector3 stopPoint(0.141, 0.100, surface(0.141, 0.100) + 0.046);
  travel(log, at, stopPoint, 5);
  log.wait(410);
  log.pointStop(stopPoint);
}

void writeCircle(const ZelString& path) {
  TimedLog log(path);
  const double radius = 0.003;
  log.radius(radius);
  // A 25.4 mm bore, probed 6.1 mm below its top edge: the ball centre runs 9.7 mm from the bore's axis.
  const Vector3 centre(0.2150, 0.0875, 0.0321);
  const double track = 0.0127 - radius;
  std::vector<Vector3> centres;
  for (int i = 0; i < 6; ++i) {
    double angle = (15.0 + 60.0 * i) * kPi / 180.0;
    centres.push_back(centre + Vector3(track * std::cos(angle), track * std::sin(angle), 0));
  }
  Vector3 home(0.262, 0.171, 0.158);
  log.moved(home, kProbeDown, kProbeUp);
  // Each point is approached from the bore's axis, then the ball is pressed against the wall.
  Vector3 at = home;
  int k = 0;
  for (const Vector3& point : centres) {
    travel(log, at, centre + Vector3(0, 0, 0.004), 4);
    travel(log, centre + Vector3(0, 0, 0.004), point, 3);
    log.wait(310 + 70 * (k % 2));
    log.sampled(point + scatter(++k));
    at = centre + (point - centre) * 0.5;
    log.wait(kMoveIntervalMs);
    log.moved(at, kProbeDown, kProbeUp);
  }
  Vector3 stopPoint = centre + Vector3(0, 0, 0.038);
  travel(log, at, stopPoint, 4);
  log.wait(450);
  log.pointStop(stopPoint);
}

void writeCapture(const ZelString& path) {
  TimedLog log(path);
  log.radius(0.0025);
  // The probe is dragged over a gently curved panel, tilted 15 degrees along the stroke.
  const Vector3 to(0, 0.258819, -0.965926);
  const Vector3 up(0, 0.965926, 0.258819);
  auto panel = [](double x) { return 0.0618 + 0.0125 * std::cos((x - 0.15) / 0.09); };
  Vector3 start(0.095, 0.110, panel(0.095) + 0.0025);
  Vector3 at(0.120, 0.190, 0.140);
  log.moved(at, to, up);
  travel(log, at, start, 5);
  log.wait(520);
  log.startCapture();
  for (int i = 0; i < 24; ++i) {
    double x = 0.095 + 0.0045 * i;
    Vector3 point(x, 0.110 + 0.0002 * i, panel(x) + 0.0025);
    log.wait(kMoveIntervalMs);
    log.moved(point, to, up);
    log.wait(17);
    log.sampledOriented(point + scatter(i), to, up);
  }
  log.wait(240);
  log.stopCapture();
  Vector3 end(0.095 + 0.0045 * 23, 0.1146, panel(0.1985) + 0.0025);
  travel(log, end, end + Vector3(0, 0, 0.03), 3);
  log.wait(380);
  log.stop();
}

ZelString modulePath(const std::string& directory, const char* name) {
  std::u16string wide = platform::fromUtf8(directory + "/" + name);
  for (char16_t& unit : wide) {
    if (unit == u'/') unit = u'\\';
  }
  ZelString path;
  path.setBuffer(wide.c_str(), static_cast<int32_t>(wide.size()));
  return path;
}

int run(const std::string& directory) {
  StandinHost host;
  uint32_t version = 0;
  IZelComponent* raw = nullptr;
  if (EntryPoint(&version, &raw) != 1) {
    std::fprintf(stderr, "palpera-log-examples: the module has no component\n");
    return 1;
  }
  IPtr<IZelComponent> component(raw);
  host.attach(component.get());
  const std::pair<const char*, void (*)(const ZelString&)> logs[] = {
      {"plane-hardprobe.xml", writePlane},
      {"circle-hardprobe.xml", writeCircle},
      {"capture-continuous.xml", writeCapture}};
  int status = 0;
  for (auto [name, write] : logs) {
    write(modulePath(directory, name));
    // The writer drops what it cannot write without a word; the tool must not.
    std::error_code error;
    if (std::filesystem::file_size(directory + "/" + name, error) == 0 || error) {
      std::fprintf(stderr, "palpera-log-examples: could not write %s/%s\n", directory.c_str(), name);
      status = 1;
    }
  }
  host.shutdown();
  detachFromHost();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: palpera-log-examples <directory>\n");
    return 2;
  }
  platform::exitProcess(run(argv[1]));
}
