#include "data/XmlExport.h"

#include "base/NumberText.h"
#include "data/SampleTime.h"
#include "data/XmlEscape.h"

bool WriteXml(std::ostream& out, const DataSet& set, const std::string* comment) {
  out.imbue(NumberTextLocale());
  out << "<xml>\n"
      << "\t<flightdata version=\"1.0\">\n"
      << "\t\t<device name=\"ZEL USB 1.2\" />\n";
  if (comment != nullptr) out << "\t\t<comments>\n\t\t\t" << EscapeXml(*comment) << "\n\t\t</comments>\n";
  out << "\t\t<data format=\"MSL\">\n";
  for (size_t i = 0; i < set.altitudeMsl.size(); ++i) {
    out << "\t\t\t<MSL t=\"" << TimeOfSample(i) << "\" z=\"" << set.altitudeMsl[i]
        << "\" />\n";
  }
  out << "\t\t</data>\n"
      << "\t</flightdata>\n"
      << "</xml>";
  return out.good();
}
