#pragma once

#include <string>
#include <vector>

namespace zorvpro::datagen
{

struct BomItem
{
    std::string name;
    std::string sku;
    std::string description;
};

struct AlgorithmEntry
{
    std::string name; // "symmetricalspreadsteer", "asymmetricalsteer", "asymmetricalspiral"
    std::string dataFile;
    std::string eqPath; // "path" attribute of the "EQData" element
};

struct ConnectionEntry
{
    std::string name;
    std::string position; // "above", "below", ...
    std::string yaw = "0", roll = "0", pitch = "0";
    std::string x = "0", y = "0", z = "0";
};

// The "Main.xml" descriptor of a data set.
struct Descriptor
{
    std::string rootTag = "Root";
    std::string rootPath; // "path" of the document element
    std::string name, family, description;
    std::vector<BomItem> bom;
    std::string acousticalPath; // "path" of "Acoustical"
    std::string spm;            // binary model file; empty leaves "SPM" out
    std::string spmPath;        // "path" of "SPM"
    std::string maxBeams;       // empty leaves "Beams" out
    std::vector<AlgorithmEntry> algorithms;
    std::vector<ConnectionEntry> connections;

    std::string ToXml() const;
};

} // namespace zorvpro::datagen
