#include "hosts/host_catalogue.h"

#include <algorithm>

#include "hosts/registry_access.h"

namespace setup {

// Every place where a supported host keeps a plug-in folder, in the order of
// the host list. The index of a row is how detection, the installation and
// the file deployment refer to an entry, so the order is part of the data.
// Rows read through kScratchKeyPath are the ones the special detectors and
// the drive scan fill in.
// Columns: Root, KeyPath, ValueName, Description, Preselect, UseSubdir, HostId, VersionId.
// One row per line, as the table is read:
// clang-format off
constexpr std::array<HostEntry, kHostCount> HostCatalogue = std::to_array<HostEntry>({
    // After FX
    {kHkcu, kScratchKeyPath, "AFX41", "After FX 4.1 by Adobe", true, true, "afterfx", "afterfx41"},
    // AVIedit
    {kHkcu, "Software\\Kes AVIedit", "Plug0", "AVIedit by Dravosk", true, true, "aviedit", "aviedit1"},
    // Canvas
    {kHkcu, "Software\\Deneba\\Canvas 6\\Tools", "Tools_Dir", "Canvas 6 by Deneba", true, true, "canvas", "canvas6"},
    {kHkcu, "Software\\Deneba\\Canvas 7\\Tools", "Tools_Dir", "Canvas 7 by Deneba", true, true, "canvas", "canvas7"},
    {kHkcu, "Software\\Deneba\\Canvas 8\\Tools", "Tools_Dir", "Canvas 8 by Deneba", true, true, "canvas", "canvas8"},
    {kHkcu, kScratchKeyPath, "Cv9", "Canvas 9 by Deneba/ACD Systems", true, true, "canvas", "canvas9"},
    {kHkcu, kScratchKeyPath, "Cv10", "Canvas X by ACD Systems", true, true, "canvas", "canvas10"},
    {kHkcu, kScratchKeyPath, "Cv11", "Canvas 11 by ACD Systems", true, true, "canvas", "canvas11"},
    {kHkcu, kScratchKeyPath, "Cv12", "Canvas 12 by ACD Systems", true, true, "canvas", "canvas12"},
    // ColorWorks: Web
    {kHkcu, "Software\\SPG\\ColorWorks\\CWInformationSettings", "PLUGINDIR", "ColorWorks: Web 4 by SPG", true, true, "colorworksweb", "colorworksweb4"},
    // DeBabelizer
    {kHkcu, "Software\\Equilibrium\\DeBabelizer Pro\\4.5.1", "Plugins.Path", "Debabelizer 4.5.1 by Equilibrium", true, true, "debabelizer", "debabelizer451"},
    // Deep Paint
    {kHkcu, "Software\\Right Hemisphere\\Deep Paint\\Directories", "Photoshop Plugin Directory", "Deep Paint by Right Hemisphere", true, true, "deeppaint", "deeppaint1"},
    // Digital Darkroom
    {kHkcu, kScratchKeyPath, "DD", "Digital Darkroom by MicroFrontier", true, true, "digitaldarkroom", "digitaldarkroom1"},
    // FireWorks
    {kHkcu, kScratchKeyPath, "Fw1", "FireWorks by MacroMedia", true, true, "fireworks", "fireworks1"},
    {kHkcu, kScratchKeyPath, "Fw2", "FireWorks 2 by MacroMedia", true, true, "fireworks", "fireworks2"},
    {kHkcu, kScratchKeyPath, "Fw3", "FireWorks 3 by MacroMedia", true, true, "fireworks", "fireworks3"},
    {kHkcu, kScratchKeyPath, "Fw4", "FireWorks 4 by MacroMedia", true, true, "fireworks", "fireworks4"},
    {kHkcu, kScratchKeyPath, "Fw5", "FireWorks 5 by MacroMedia", true, true, "fireworks", "fireworks5"},
    {kHkcu, kScratchKeyPath, "Fw6", "FireWorks 6 by MacroMedia", true, true, "fireworks", "fireworks6"},
    {kHkcu, kScratchKeyPath, "Fw7", "FireWorks 7 by MacroMedia", true, true, "fireworks", "fireworks7"},
    {kHkcu, kScratchKeyPath, "Fw8", "FireWorks 8 by MacroMedia", true, true, "fireworks", "fireworks8"},
    // Freehand
    {kHkcu, kScratchKeyPath, "Fh8", "Freehand 8 by MacroMedia", true, true, "freehand", "freehand8"},
    // GIF Animator
    {kHkcu, "Software\\Ulead Systems\\Ulead GIF Animator\\3.0\\PathInfo", "ApsDir1", "Gif Animator 3 by Ulead, 1st path", true, true, "gifanimator", "gifanimator3"},
    {kHkcu, "Software\\Ulead Systems\\Ulead GIF Animator\\3.0\\PathInfo", "ApsDir2", "Gif Animator 3 by Ulead, 2nd path", false, true, "gifanimator", "gifanimator3"},
    {kHkcu, "Software\\Ulead Systems\\Ulead GIF Animator\\3.0\\PathInfo", "ApsDir3", "Gif Animator 3 by Ulead, 3rd path", false, true, "gifanimator", "gifanimator3"},
    {kHkcu, "Software\\Ulead Systems\\Ulead GIF Animator\\3.0\\PathInfo", "ApsDir4", "Gif Animator 3 by Ulead, 4th path", false, true, "gifanimator", "gifanimator3"},
    {kHkcu, "Software\\Ulead Systems\\Ulead GIF Animator\\4.0\\PathInfo", "ApsDir1", "Gif Animator 4 by Ulead, 1st path", true, true, "gifanimator", "gifanimator4"},
    {kHkcu, "Software\\Ulead Systems\\Ulead GIF Animator\\4.0\\PathInfo", "ApsDir2", "Gif Animator 4 by Ulead, 2nd path", false, true, "gifanimator", "gifanimator4"},
    {kHkcu, "Software\\Ulead Systems\\Ulead GIF Animator\\4.0\\PathInfo", "ApsDir3", "Gif Animator 4 by Ulead, 3rd path", false, true, "gifanimator", "gifanimator4"},
    {kHkcu, "Software\\Ulead Systems\\Ulead GIF Animator\\4.0\\PathInfo", "ApsDir4", "Gif Animator 4 by Ulead, 4th path", false, true, "gifanimator", "gifanimator4"},
    // Illustrator
    {kHkcu, kScratchKeyPath, "I7", "Illustrator 7 by Adobe", true, true, "illustrator", "illustrator7"},
    // Image Composer: files go straight into the found folder
    {kHklm, "Software\\Microsoft\\Microsoft Image Composer\\Plug Ins", "Primary Plug In Path", "Image Composer 1.0 by Microsoft, 1st path", true, false, "imagecomposer", "imagecomposer1"},
    {kHklm, "Software\\Microsoft\\Microsoft Image Composer\\Plug Ins", "Secondary Plug In Path", "Image Composer 1.0 by Microsoft, 2nd path", false, false, "imagecomposer", "imagecomposer1"},
    // Image Explorer Pro: files go straight into the found folder
    {kHkcu, kScratchKeyPath, "IEP4", "Image Explorer Pro 4 by CDH Productions", true, false, "imageexplorerpro", "imageexplorerpro4"},
    // imageN
    {kHkcu, kScratchKeyPath, "INP1", "imageN by PS, 1st path", true, true, "imagen", "imagen1"},
    {kHkcu, kScratchKeyPath, "INP2", "imageN by PS, 2nd path", false, true, "imagen", "imagen1"},
    {kHkcu, kScratchKeyPath, "INP3", "imageN by PS, 3rd path", false, true, "imagen", "imagen1"},
    {kHkcu, kScratchKeyPath, "INP4", "imageN by PS, 4th path", false, true, "imagen", "imagen1"},
    {kHkcu, kScratchKeyPath, "INP5", "imageN by PS, 5th path", false, true, "imagen", "imagen1"},
    {kHkcu, kScratchKeyPath, "INP6", "imageN by PS, 6th path", false, true, "imagen", "imagen1"},
    {kHkcu, kScratchKeyPath, "INP7", "imageN by PS, 7th path", false, true, "imagen", "imagen1"},
    {kHkcu, kScratchKeyPath, "INP8", "imageN by PS, 8th path", false, true, "imagen", "imagen1"},
    // ImageReady
    {kHkcu, "Software\\Adobe\\ImageReady 2.0\\Preferences", "PluginFolder", "ImageReady 2 by Adobe", true, true, "imageready", "imageready2"},
    // Painter
    {kHkcu, kScratchKeyPath, "Pt9", "Painter IX by Corel", true, true, "painter", "painter9"},
    {kHkcu, kScratchKeyPath, "Pt10", "Painter X by Corel", true, true, "painter", "painter10"},
    {kHkcu, kScratchKeyPath, "Pt11", "Painter 11 by Corel", true, true, "painter", "painter11"},
    {kHkcu, kScratchKeyPath, "Pt12", "Painter 12 by Corel", true, true, "painter", "painter12"},
    // Paint Shop Pro
    {kHkcu, "Software\\JASC\\Paint Shop Pro\\ImageProcessingFilter", "Directory", "Paint Shop Pro 4 by JASC", true, true, "paintshoppro", "paintshoppro4"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter", "Directory1", "Paint Shop Pro 5 by JASC, 1st path", true, true, "paintshoppro", "paintshoppro5"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter", "Directory2", "Paint Shop Pro 5 by JASC, 2nd path", false, true, "paintshoppro", "paintshoppro5"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 5\\ImageProcessingFilter", "Directory3", "Paint Shop Pro 5 by JASC, 3rd path", false, true, "paintshoppro", "paintshoppro5"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 6\\ImageProcessingFilter", "Directory1", "Paint Shop Pro 6 by JASC, 1st path", true, true, "paintshoppro", "paintshoppro6"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 6\\ImageProcessingFilter", "Directory2", "Paint Shop Pro 6 by JASC, 2nd path", false, true, "paintshoppro", "paintshoppro6"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 6\\ImageProcessingFilter", "Directory3", "Paint Shop Pro 6 by JASC, 3rd path", false, true, "paintshoppro", "paintshoppro6"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 7\\ImageProcessingFilter", "Directory1", "Paint Shop Pro 7 by JASC, 1st path", true, true, "paintshoppro", "paintshoppro7"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 7\\ImageProcessingFilter", "Directory2", "Paint Shop Pro 7 by JASC, 2nd path", false, true, "paintshoppro", "paintshoppro7"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 7\\ImageProcessingFilter", "Directory3", "Paint Shop Pro 7 by JASC, 3rd path", false, true, "paintshoppro", "paintshoppro7"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 8\\ImageProcessingFilter", "Directory1", "Paint Shop Pro 8 by JASC, 1st path", true, true, "paintshoppro", "paintshoppro8"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 8\\ImageProcessingFilter", "Directory2", "Paint Shop Pro 8 by JASC, 2nd path", false, true, "paintshoppro", "paintshoppro8"},
    {kHkcu, "Software\\JASC\\Paint Shop Pro 8\\ImageProcessingFilter", "Directory3", "Paint Shop Pro 8 by JASC, 3rd path", false, true, "paintshoppro", "paintshoppro8"},
    {kHkcu, "Software\\Jasc\\Paint Shop Pro 9\\FileLocations\\PlugIns\\0", "Dir", "Paint Shop Pro 9 by JASC, 1st path", true, true, "paintshoppro", "paintshoppro9"},
    {kHkcu, "Software\\Jasc\\Paint Shop Pro 9\\FileLocations\\PlugIns\\1", "Dir", "Paint Shop Pro 9 by JASC, 2nd path", false, true, "paintshoppro", "paintshoppro9"},
    {kHkcu, "Software\\Jasc\\Paint Shop Pro 9\\FileLocations\\PlugIns\\2", "Dir", "Paint Shop Pro 9 by JASC, 3rd path", false, true, "paintshoppro", "paintshoppro9"},
    {kHkcu, "Software\\Jasc\\Paint Shop Pro 9\\FileLocations\\PlugIns\\3", "Dir", "Paint Shop Pro 9 by JASC, 4th path", false, true, "paintshoppro", "paintshoppro9"},
    {kHkcu, "Software\\Jasc\\Paint Shop Pro 9\\FileLocations\\PlugIns\\4", "Dir", "Paint Shop Pro 9 by JASC, 5th path", false, true, "paintshoppro", "paintshoppro9"},
    {kHkcu, "Software\\Jasc\\Paint Shop Pro 9\\FileLocations\\PlugIns\\5", "Dir", "Paint Shop Pro 9 by JASC, 6th path", false, true, "paintshoppro", "paintshoppro9"},
    {kHkcu, "Software\\Jasc\\Paint Shop Pro 9\\FileLocations\\PlugIns\\6", "Dir", "Paint Shop Pro 9 by JASC, 7th path", false, true, "paintshoppro", "paintshoppro9"},
    {kHkcu, "Software\\Jasc\\Paint Shop Pro 9\\FileLocations\\PlugIns\\7", "Dir", "Paint Shop Pro 9 by JASC, 8th path", false, true, "paintshoppro", "paintshoppro9"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\10\\FileLocations\\PlugIns\\0", "Dir", "Paint Shop Pro X (10) by Corel, 1st path", true, true, "paintshoppro", "paintshoppro10"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\10\\FileLocations\\PlugIns\\1", "Dir", "Paint Shop Pro X (10) by Corel, 2nd path", false, true, "paintshoppro", "paintshoppro10"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\10\\FileLocations\\PlugIns\\2", "Dir", "Paint Shop Pro X (10) by Corel, 3rd path", false, true, "paintshoppro", "paintshoppro10"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\10\\FileLocations\\PlugIns\\3", "Dir", "Paint Shop Pro X (10) by Corel, 4th path", false, true, "paintshoppro", "paintshoppro10"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\10\\FileLocations\\PlugIns\\4", "Dir", "Paint Shop Pro X (10) by Corel, 5th path", false, true, "paintshoppro", "paintshoppro10"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\10\\FileLocations\\PlugIns\\5", "Dir", "Paint Shop Pro X (10) by Corel, 6th path", false, true, "paintshoppro", "paintshoppro10"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\10\\FileLocations\\PlugIns\\6", "Dir", "Paint Shop Pro X (10) by Corel, 7th path", false, true, "paintshoppro", "paintshoppro10"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\10\\FileLocations\\PlugIns\\7", "Dir", "Paint Shop Pro X (10) by Corel, 8th path", false, true, "paintshoppro", "paintshoppro10"},
    // (the 6th path alone carries the version number)
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\11\\FileLocations\\PlugIns\\0", "Dir", "Paint Shop Pro X1 by Corel, 1st path", true, true, "paintshoppro", "paintshoppro11"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\11\\FileLocations\\PlugIns\\1", "Dir", "Paint Shop Pro X1 by Corel, 2nd path", false, true, "paintshoppro", "paintshoppro11"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\11\\FileLocations\\PlugIns\\2", "Dir", "Paint Shop Pro X1 by Corel, 3rd path", false, true, "paintshoppro", "paintshoppro11"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\11\\FileLocations\\PlugIns\\3", "Dir", "Paint Shop Pro X1 by Corel, 4th path", false, true, "paintshoppro", "paintshoppro11"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\11\\FileLocations\\PlugIns\\4", "Dir", "Paint Shop Pro X1 by Corel, 5th path", false, true, "paintshoppro", "paintshoppro11"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\11\\FileLocations\\PlugIns\\5", "Dir", "Paint Shop Pro X1 (11) by Corel, 6th path", false, true, "paintshoppro", "paintshoppro11"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\11\\FileLocations\\PlugIns\\6", "Dir", "Paint Shop Pro X1 by Corel, 7th path", false, true, "paintshoppro", "paintshoppro11"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\11\\FileLocations\\PlugIns\\7", "Dir", "Paint Shop Pro X1 by Corel, 8th path", false, true, "paintshoppro", "paintshoppro11"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\12\\FileLocations\\PlugIns\\0", "Dir", "Paint Shop Pro X2 by Corel, 1st path", true, true, "paintshoppro", "paintshoppro12"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\12\\FileLocations\\PlugIns\\1", "Dir", "Paint Shop Pro X2 by Corel, 2nd path", false, true, "paintshoppro", "paintshoppro12"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\12\\FileLocations\\PlugIns\\2", "Dir", "Paint Shop Pro X2 by Corel, 3rd path", false, true, "paintshoppro", "paintshoppro12"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\12\\FileLocations\\PlugIns\\3", "Dir", "Paint Shop Pro X2 by Corel, 4th path", false, true, "paintshoppro", "paintshoppro12"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\12\\FileLocations\\PlugIns\\4", "Dir", "Paint Shop Pro X2 by Corel, 5th path", false, true, "paintshoppro", "paintshoppro12"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\12\\FileLocations\\PlugIns\\5", "Dir", "Paint Shop Pro X2 by Corel, 6th path", false, true, "paintshoppro", "paintshoppro12"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\12\\FileLocations\\PlugIns\\6", "Dir", "Paint Shop Pro X2 by Corel, 7th path", false, true, "paintshoppro", "paintshoppro12"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\12\\FileLocations\\PlugIns\\7", "Dir", "Paint Shop Pro X2 by Corel, 8th path", false, true, "paintshoppro", "paintshoppro12"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\13\\FileLocations\\PlugIns\\0", "Dir", "Paint Shop Pro X3 by Corel, 1st path", true, true, "paintshoppro", "paintshoppro13"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\13\\FileLocations\\PlugIns\\1", "Dir", "Paint Shop Pro X3 by Corel, 2nd path", false, true, "paintshoppro", "paintshoppro13"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\13\\FileLocations\\PlugIns\\2", "Dir", "Paint Shop Pro X3 by Corel, 3rd path", false, true, "paintshoppro", "paintshoppro13"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\13\\FileLocations\\PlugIns\\3", "Dir", "Paint Shop Pro X3 by Corel, 4th path", false, true, "paintshoppro", "paintshoppro13"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\13\\FileLocations\\PlugIns\\4", "Dir", "Paint Shop Pro X3 by Corel, 5th path", false, true, "paintshoppro", "paintshoppro13"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\13\\FileLocations\\PlugIns\\5", "Dir", "Paint Shop Pro X3 by Corel, 6th path", false, true, "paintshoppro", "paintshoppro13"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\13\\FileLocations\\PlugIns\\6", "Dir", "Paint Shop Pro X3 by Corel, 7th path", false, true, "paintshoppro", "paintshoppro13"},
    {kHkcu, "Software\\Corel\\Paint Shop Pro\\13\\FileLocations\\PlugIns\\7", "Dir", "Paint Shop Pro X3 by Corel, 8th path", false, true, "paintshoppro", "paintshoppro13"},
    // PhotoDeLuxe
    {kHkcu, kScratchKeyPath, "PDL", "PhotoDeLuxe by Adobe", true, true, "photodeluxe", "photodeluxe1"},
    // PhotoDraw 2000
    {kHkcu, kScratchKeyPath, "PD2KP1", "PhotoDraw 2000 by Microsoft, 1st path", true, true, "photodraw2k", "photodraw2k1"},
    {kHkcu, kScratchKeyPath, "PD2KP2", "PhotoDraw 2000 by Microsoft, 2nd path", false, true, "photodraw2k", "photodraw2k1"},
    // PhotoImpact: the paths that belong to no one version are offered unticked
    {kHkcu, kScratchKeyPath, "PiP1", "PhotoImpact by Ulead, 1st path", false, true, "photoimpact", "photoimpactall"},
    {kHkcu, kScratchKeyPath, "PiP2", "PhotoImpact by Ulead, 2nd path", false, true, "photoimpact", "photoimpactall"},
    {kHkcu, kScratchKeyPath, "PiP3", "PhotoImpact by Ulead, 3rd path", false, true, "photoimpact", "photoimpactall"},
    {kHkcu, kScratchKeyPath, "PiP4", "PhotoImpact by Ulead, 4th path", false, true, "photoimpact", "photoimpactall"},
    {kHkcu, kScratchKeyPath, "PiP5", "PhotoImpact by Ulead, 5th path", false, true, "photoimpact", "photoimpactall"},
    {kHkcu, kScratchKeyPath, "PiP6", "PhotoImpact by Ulead, 6th path", false, true, "photoimpact", "photoimpactall"},
    {kHkcu, kScratchKeyPath, "PiP7", "PhotoImpact by Ulead, 7th path", false, true, "photoimpact", "photoimpactall"},
    {kHkcu, kScratchKeyPath, "PiP8", "PhotoImpact by Ulead, 8th path", false, true, "photoimpact", "photoimpactall"},
    {kHkcu, kScratchKeyPath, "Pi5", "PhotoImpact 5 by Ulead, standard", true, true, "photoimpact", "photoimpact5"},
    {kHkcu, kScratchKeyPath, "Pi6", "PhotoImpact 6 by Ulead, standard", true, true, "photoimpact", "photoimpact6"},
    {kHkcu, kScratchKeyPath, "Pi7", "PhotoImpact 7 by Ulead, standard", true, true, "photoimpact", "photoimpact7"},
    {kHkcu, kScratchKeyPath, "Pi8", "PhotoImpact 8 by Ulead, standard", true, true, "photoimpact", "photoimpact8"},
    {kHkcu, kScratchKeyPath, "Pi85", "PhotoImpact 8.5 by Ulead, standard", true, true, "photoimpact", "photoimpact85"},
    {kHkcu, kScratchKeyPath, "Pi9", "PhotoImpact 9 by Ulead, standard", true, true, "photoimpact", "photoimpact9"},
    {kHkcu, kScratchKeyPath, "Pi10", "PhotoImpact 10 by Ulead, standard", true, true, "photoimpact", "photoimpact10"},
    {kHkcu, kScratchKeyPath, "Pi11", "PhotoImpact 11 by Ulead, standard", true, true, "photoimpact", "photoimpact11"},
    {kHkcu, kScratchKeyPath, "Pi12", "PhotoImpact 12 by Ulead, standard", true, true, "photoimpact", "photoimpact12"},
    {kHkcu, kScratchKeyPath, "Pi13", "PhotoImpact X3 by Corel, standard", true, true, "photoimpact", "photoimpact13"},
    {kHkcu, kScratchKeyPath, "Pi14", "PhotoImpact X4 by Corel, standard", true, true, "photoimpact", "photoimpact14"},
    {kHkcu, kScratchKeyPath, "Pi15", "PhotoImpact X5 by Corel, standard", true, true, "photoimpact", "photoimpact15"},
    // PhotoLine
    {kHkcu, kScratchKeyPath, "Pl5P1", "PhotoLine32 5/6 by Computerinsel, 1st path", true, true, "photoline", "photoline5"},
    {kHkcu, kScratchKeyPath, "Pl5P2", "PhotoLine32 5/6 by Computerinsel, 2nd path", false, true, "photoline", "photoline5"},
    // PhotoPaint
    {kHkcu, kScratchKeyPath, "PP9P1", "PhotoPaint 9 by Corel, 1st path", true, true, "photopaint", "photopaint9"},
    {kHkcu, kScratchKeyPath, "PP9P2", "PhotoPaint 9 by Corel, 2nd path", false, true, "photopaint", "photopaint9"},
    {kHkcu, kScratchKeyPath, "PP9P3", "PhotoPaint 9 by Corel, 3rd path", false, true, "photopaint", "photopaint9"},
    {kHkcu, kScratchKeyPath, "PP9P4", "PhotoPaint 9 by Corel, 4th path", false, true, "photopaint", "photopaint9"},
    {kHkcu, kScratchKeyPath, "PP9P5", "PhotoPaint 9 by Corel, 5th path", false, true, "photopaint", "photopaint9"},
    {kHkcu, kScratchKeyPath, "PP9P6", "PhotoPaint 9 by Corel, 6th path", false, true, "photopaint", "photopaint9"},
    {kHkcu, kScratchKeyPath, "PP9P7", "PhotoPaint 9 by Corel, 7th path", false, true, "photopaint", "photopaint9"},
    {kHkcu, kScratchKeyPath, "PP9P8", "PhotoPaint 9 by Corel, 8th path", false, true, "photopaint", "photopaint9"},
    {kHkcu, kScratchKeyPath, "PP12P1", "PhotoPaint 12 by Corel, 1st path", true, true, "photopaint", "photopaint12"},
    {kHkcu, kScratchKeyPath, "PP12P2", "PhotoPaint 12 by Corel, 2nd path", false, true, "photopaint", "photopaint12"},
    {kHkcu, kScratchKeyPath, "PP12P3", "PhotoPaint 12 by Corel, 3rd path", false, true, "photopaint", "photopaint12"},
    {kHkcu, kScratchKeyPath, "PP12P4", "PhotoPaint 12 by Corel, 4th path", false, true, "photopaint", "photopaint12"},
    {kHkcu, kScratchKeyPath, "PP12P5", "PhotoPaint 12 by Corel, 5th path", false, true, "photopaint", "photopaint12"},
    {kHkcu, kScratchKeyPath, "PP12P6", "PhotoPaint 12 by Corel, 6th path", false, true, "photopaint", "photopaint12"},
    {kHkcu, kScratchKeyPath, "PP12P7", "PhotoPaint 12 by Corel, 7th path", false, true, "photopaint", "photopaint12"},
    {kHkcu, kScratchKeyPath, "PP12P8", "PhotoPaint 12 by Corel, 8th path", false, true, "photopaint", "photopaint12"},
    // PhotoPerfect
    {kHkcu, "Software\\Arcadia Software AG\\PhotoPerfect\\Options", "Plugins", "PhotoPerfect 2.90 by Arcadia", true, true, "photoperfect", "photoperfect290"},
    // PhotoPlus
    {kHkcu, "Software\\Serif\\PhotoPlus\\6.0\\Directories", "PluginRootDir", "PhotoPlus 6 by Serif", true, true, "photoplus", "photoplus6"},
    {kHkcu, "Software\\Serif\\PhotoPlus\\7.0\\Directories", "PluginRootDir", "PhotoPlus 7 by Serif", true, true, "photoplus", "photoplus7"},
    {kHkcu, "Software\\Serif\\PhotoPlus\\8.0\\Directories", "PluginRootDir", "PhotoPlus 8 by Serif", true, true, "photoplus", "photoplus8"},
    {kHkcu, "Software\\Serif\\PhotoPlus\\9.0\\Directories", "PluginRootDir", "PhotoPlus 9 by Serif", true, true, "photoplus", "photoplus9"},
    // Photoshop
    {kHkcu, kScratchKeyPath, "PS2", "PhotoShop 2 by Adobe", true, true, "photoshop", "photoshop2"},
    {kHkcu, kScratchKeyPath, "PS3", "PhotoShop 3 by Adobe", true, true, "photoshop", "photoshop3"},
    {kHkcu, kScratchKeyPath, "PS4", "PhotoShop 4 by Adobe", true, true, "photoshop", "photoshop4"},
    {kHklm, "Software\\Adobe\\Photoshop\\5.0\\PluginPath", "", "PhotoShop 5 by Adobe", true, true, "photoshop", "photoshop5"},
    {kHklm, "Software\\Adobe\\Photoshop\\5.5\\PluginPath", "", "PhotoShop 5.5 by Adobe", true, true, "photoshop", "photoshop55"},
    {kHklm, "Software\\Adobe\\Photoshop\\6.0\\PluginPath", "", "PhotoShop 6 by Adobe", true, true, "photoshop", "photoshop6"},
    {kHklm, "Software\\Adobe\\Photoshop\\7.0\\PluginPath", "", "PhotoShop 7 by Adobe", true, true, "photoshop", "photoshop7"},
    {kHklm, "Software\\Adobe\\Photoshop\\7.0", "PluginPath", "PhotoShop 7 by Adobe, additional path", false, true, "photoshop", "photoshop7"},
    {kHklm, "Software\\Adobe\\Photoshop\\8.0\\PluginPath", "", "PhotoShop CS by Adobe", true, true, "photoshop", "photoshop8"},
    {kHklm, "Software\\Adobe\\Photoshop\\8.0", "PluginPath", "PhotoShop CS by Adobe, additional path", false, true, "photoshop", "photoshop8"},
    {kHklm, "Software\\Adobe\\Photoshop\\9.0\\PluginPath", "", "PhotoShop CS2 by Adobe", true, true, "photoshop", "photoshop9"},
    {kHklm, "Software\\Adobe\\Photoshop\\9.0", "PluginPath", "PhotoShop CS2 by Adobe, additional path", false, true, "photoshop", "photoshop9"},
    // (from CS3 on, the additional path is kept in the user's own settings)
    {kHklm, "Software\\Adobe\\Photoshop\\10.0\\PluginPath", "", "PhotoShop CS3 by Adobe", true, true, "photoshop", "photoshop10"},
    {kHkcu, "Software\\Adobe\\Photoshop\\10.0", "PlugInDirectory", "PhotoShop CS3 by Adobe, additional path", false, true, "photoshop", "photoshop10"},
    {kHklm, "Software\\Adobe\\Photoshop\\11.0\\PluginPath", "", "PhotoShop CS4 by Adobe", true, true, "photoshop", "photoshop11"},
    {kHkcu, "Software\\Adobe\\Photoshop\\11.0", "PlugInDirectory", "PhotoShop CS4 by Adobe, additional path", false, true, "photoshop", "photoshop11"},
    {kHklm, "Software\\Adobe\\Photoshop\\12.0\\PluginPath", "", "PhotoShop CS5 by Adobe", true, true, "photoshop", "photoshop12"},
    {kHkcu, "Software\\Adobe\\Photoshop\\12.0", "PlugInDirectory", "PhotoShop CS5 by Adobe, additional path", false, true, "photoshop", "photoshop12"},
    {kHklm, "Software\\Adobe\\Photoshop\\13.0\\PluginPath", "", "PhotoShop CS6 by Adobe", true, true, "photoshop", "photoshop13"},
    {kHkcu, "Software\\Adobe\\Photoshop\\13.0", "PlugInDirectory", "PhotoShop CS6 by Adobe, additional path", false, true, "photoshop", "photoshop13"},
    // Photoshop Elements
    {kHklm, "Software\\Adobe\\Photoshop Elements\\1.0\\PluginPath", "", "PhotoShop Elements 1 by Adobe", true, true, "photoshopelements", "photoshopelements1"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\1.0", "PlugInDirectory", "PhotoShop Elements 1 by Adobe, additional path", false, true, "photoshopelements", "photoshopelements1"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\2.0\\PluginPath", "", "PhotoShop Elements 2 by Adobe", true, true, "photoshopelements", "photoshopelements2"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\2.0", "PlugInDirectory", "PhotoShop Elements 2 by Adobe, additional path", false, true, "photoshopelements", "photoshopelements2"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\3.0\\PluginPath", "", "PhotoShop Elements 3 by Adobe", true, true, "photoshopelements", "photoshopelements3"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\3.0", "PlugInDirectory", "PhotoShop Elements 3 by Adobe, additional path", false, true, "photoshopelements", "photoshopelements3"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\4.0\\PluginPath", "", "PhotoShop Elements 4 by Adobe", true, true, "photoshopelements", "photoshopelements4"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\4.0", "PlugInDirectory", "PhotoShop Elements 4 by Adobe, additional path", false, true, "photoshopelements", "photoshopelements4"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\5.0\\PluginPath", "", "PhotoShop Elements 5 by Adobe", true, true, "photoshopelements", "photoshopelements5"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\5.0", "PlugInDirectory", "PhotoShop Elements 5 by Adobe, additional path", false, true, "photoshopelements", "photoshopelements5"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\6.0\\PluginPath", "", "PhotoShop Elements 6 by Adobe", true, true, "photoshopelements", "photoshopelements6"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\6.0", "PlugInDirectory", "PhotoShop Elements 6 by Adobe, additional path", false, true, "photoshopelements", "photoshopelements6"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\7.0\\PluginPath", "", "PhotoShop Elements 7 by Adobe", true, true, "photoshopelements", "photoshopelements7"},
    {kHklm, "Software\\Adobe\\Photoshop Elements\\7.0", "PlugInDirectory", "PhotoShop Elements 7 by Adobe, additional path", false, true, "photoshopelements", "photoshopelements7"},
    // Picture Publisher
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\6.0\\Settings", "PluginPath1", "Picture Publisher 6 by Micrografx, 1st path", true, true, "picturepublisher", "picturepublisher6"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\6.0\\Settings", "PluginPath2", "Picture Publisher 6 by Micrografx, 2nd path", false, true, "picturepublisher", "picturepublisher6"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\6.0\\Settings", "PluginPath3", "Picture Publisher 6 by Micrografx, 3rd path", false, true, "picturepublisher", "picturepublisher6"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\6.0\\Settings", "PluginPath4", "Picture Publisher 6 by Micrografx, 4th path", false, true, "picturepublisher", "picturepublisher6"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\6.0\\Settings", "PluginPath5", "Picture Publisher 6 by Micrografx, 5th path", false, true, "picturepublisher", "picturepublisher6"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\6.0\\Settings", "PluginPath6", "Picture Publisher 6 by Micrografx, 6th path", false, true, "picturepublisher", "picturepublisher6"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\6.0\\Settings", "PluginPath7", "Picture Publisher 6 by Micrografx, 7th path", false, true, "picturepublisher", "picturepublisher6"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\6.0\\Settings", "PluginPath8", "Picture Publisher 6 by Micrografx, 8th path", false, true, "picturepublisher", "picturepublisher6"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\8.0\\DirSettings", "PluginPath1", "Picture Publisher 8 by Micrografx, 1st path", true, true, "picturepublisher", "picturepublisher8"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\8.0\\DirSettings", "PluginPath2", "Picture Publisher 8 by Micrografx, 2nd path", false, true, "picturepublisher", "picturepublisher8"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\8.0\\DirSettings", "PluginPath3", "Picture Publisher 8 by Micrografx, 3rd path", false, true, "picturepublisher", "picturepublisher8"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\8.0\\DirSettings", "PluginPath4", "Picture Publisher 8 by Micrografx, 4th path", false, true, "picturepublisher", "picturepublisher8"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\8.0\\DirSettings", "PluginPath5", "Picture Publisher 8 by Micrografx, 5th path", false, true, "picturepublisher", "picturepublisher8"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\8.0\\DirSettings", "PluginPath6", "Picture Publisher 8 by Micrografx, 6th path", false, true, "picturepublisher", "picturepublisher8"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\8.0\\DirSettings", "PluginPath7", "Picture Publisher 8 by Micrografx, 7th path", false, true, "picturepublisher", "picturepublisher8"},
    {kHkcu, "Software\\Micrografx\\Picture Publisher\\8.0\\DirSettings", "PluginPath8", "Picture Publisher 8 by Micrografx, 8th path", false, true, "picturepublisher", "picturepublisher8"},
    // Premiere
    {kHkcu, kScratchKeyPath, "Pm42", "Premiere 4.2 by Adobe", true, true, "premiere", "premiere42"},
    {kHklm, "Software\\Adobe\\Premiere\\5.0", "Plug-InsDir", "Premiere 5.x by Adobe", true, true, "premiere", "premiere5"},
    // QFX
    {kHkcu, kScratchKeyPath, "QFX7", "QFX 7.0/8.0 by Tolvane", true, true, "qfx", "qfx7"},
    // Satori Photo XL
    {kHkcu, "Software\\Spaceward\\Satori229\\Preferences", "PhotoshopPath", "Satori Photo XL 2.29 by Spaceward Graphics", true, true, "satoriphotoxl", "satoriphotoxl229"},
    // Ultimate Paint
    {kHkcu, "Software\\Megalux\\UP\\Preferences", "AdobeLoc", "Ultimate Paint 2 by Megalux", true, true, "ultimatepaint", "ultimatepaint2"},
    // Xara Xtreme
    {kHkcu, kScratchKeyPath, "XX", "Xara Xtreme 2 by Xara, main path", true, true, "xaraxtreme", "xaraxtreme2"},
    {kHkcu, kScratchKeyPath, "XXP1", "Xara Xtreme 2 by Xara, 1st additional path", false, true, "xaraxtreme", "xaraxtreme2"},
    {kHkcu, kScratchKeyPath, "XXP2", "Xara Xtreme 2 by Xara, 2nd additional path", false, true, "xaraxtreme", "xaraxtreme2"},
    {kHkcu, kScratchKeyPath, "XXP3", "Xara Xtreme 2 by Xara, 3rd additional path", false, true, "xaraxtreme", "xaraxtreme2"},
    {kHkcu, kScratchKeyPath, "XXP4", "Xara Xtreme 2 by Xara, 4th additional path", false, true, "xaraxtreme", "xaraxtreme2"},
    {kHkcu, kScratchKeyPath, "XXP5", "Xara Xtreme 2 by Xara, 5th additional path", false, true, "xaraxtreme", "xaraxtreme2"},
    {kHkcu, kScratchKeyPath, "XXP6", "Xara Xtreme 2 by Xara, 6th additional path", false, true, "xaraxtreme", "xaraxtreme2"},
    {kHkcu, kScratchKeyPath, "XXP7", "Xara Xtreme 2 by Xara, 7th additional path", false, true, "xaraxtreme", "xaraxtreme2"},
    {kHkcu, kScratchKeyPath, "XXP8", "Xara Xtreme 2 by Xara, 8th additional path", false, true, "xaraxtreme", "xaraxtreme2"},
    // Xara Xtreme Pro
    {kHkcu, kScratchKeyPath, "XXPrP1", "Xara Xtreme Pro 1 by Xara, main path", true, true, "xaraxtremepro", "xaraxtremepro1"},
    {kHkcu, kScratchKeyPath, "XXPrP2", "Xara Xtreme Pro 2 by Xara, main path", true, true, "xaraxtremepro", "xaraxtremepro2"},
    {kHkcu, kScratchKeyPath, "XXPrP3", "Xara Xtreme Pro 3 by Xara, main path", true, true, "xaraxtremepro", "xaraxtremepro3"},
    {kHkcu, kScratchKeyPath, "XXPrP4", "Xara Xtreme Pro 4 by Xara, main path", true, true, "xaraxtremepro", "xaraxtremepro4"},
    {kHkcu, kScratchKeyPath, "XXPrP5", "Xara Xtreme Pro 5 by Xara, main path", true, true, "xaraxtremepro", "xaraxtremepro5"},
    {kHkcu, kScratchKeyPath, "XXPrP51", "Xara Xtreme Pro 5.1 by Xara, main path", true, true, "xaraxtremepro", "xaraxtremepro51"},
    // xRes
    {kHkcu, kScratchKeyPath, "xR2", "xRes 2 by MacroMedia", true, true, "xres", "xres2"},
});

// clang-format on
// to_array takes its size from the rows, so a row lost or added fails to
// build above.
static_assert(std::ranges::all_of(HostCatalogue, FitsFieldWidths));

}  // namespace setup
