// Every text the window shows or says, in one place, for a translator or a reviewer to
// read together: the captions, the band lists' entries, what screen readers hear, and
// every message. The window's description, the commands and each toolkit layer take
// their words from here. A text that begins with a space or a word in lower case
// follows a name or another text; the comment says which.
#pragma once

#include <string_view>

namespace vaskelo::texts {

// The program's name, the window's caption.
inline constexpr std::string_view kVaskelo = "Vaskelo";

// The band colours, as the lists offer them; the names are also the commands' keys.
inline constexpr std::string_view kSiyah = "Siyah";
inline constexpr std::string_view kKahverengi = "Kahverengi";
inline constexpr std::string_view kKirmizi = "Kırmızı";
inline constexpr std::string_view kTuruncu = "Turuncu";
inline constexpr std::string_view kSari = "Sarı";
inline constexpr std::string_view kYesil = "Yeşil";
inline constexpr std::string_view kMavi = "Mavi";
inline constexpr std::string_view kMor = "Mor";
inline constexpr std::string_view kGri = "Gri";
inline constexpr std::string_view kBeyaz = "Beyaz";
inline constexpr std::string_view kAltin = "Altın";
inline constexpr std::string_view kGumus = "Gümüş";
// Band 3's entry for no multiplier; also what a result label shows before any result.
inline constexpr std::string_view kDash = "-";
// What every list shows after start and after a reset: no colour chosen.
inline constexpr std::string_view kUnchosen = "?";
// The tolerances of Altın and Gümüş.
inline constexpr std::string_view kFivePercent = "%5";
inline constexpr std::string_view kTenPercent = "%10";

// The controls' captions, and the menus'.
inline constexpr std::string_view kBand1 = "1.Renk";
inline constexpr std::string_view kBand2 = "2.Renk";
inline constexpr std::string_view kBand3 = "3.Renk";
inline constexpr std::string_view kBand4 = "4.Renk";
inline constexpr std::string_view kCalculateCaption = "D e ğ e r i   H e s a p l a";
inline constexpr std::string_view kNew = "Yeni";
inline constexpr std::string_view kToleranceCaption = "Tolerans:";
inline constexpr std::string_view kFileMenu = "Dosya";
inline constexpr std::string_view kExit = "Çıkış";
inline constexpr std::string_view kEditMenu = "Düzenleme";
inline constexpr std::string_view kHelpMenu = "Yardım";
inline constexpr std::string_view kAbout = "Hakkında";

// What the commands write in the result label.
inline constexpr std::string_view kPrompt = "Renk Girin";
inline constexpr std::string_view kAboutLine = "     Hazırlayan: Tolvend, Versiyon:1.1";

// What screen readers hear for the controls without a caption of their own, and what
// they hear described.
inline constexpr std::string_view kPictureName = "Direnç resmi";
inline constexpr std::string_view kSwatch1 = "1. bandın rengi";
inline constexpr std::string_view kSwatch2 = "2. bandın rengi";
inline constexpr std::string_view kSwatch3 = "3. bandın rengi";
inline constexpr std::string_view kSwatch4 = "4. bandın rengi";
inline constexpr std::string_view kCalculateName = "Değeri Hesapla";
inline constexpr std::string_view kResultDescription = "Sonuç";
inline constexpr std::string_view kToleranceDescription = "Tolerans";
// After a swatch's name and ": ", for a swatch that shows no picked colour.
inline constexpr std::string_view kNoColourChosen = "seçilmedi";
// The page's menu bar, and (after a list's name) its button.
inline constexpr std::string_view kMenus = "Menüler";
inline constexpr std::string_view kOpenList = " listesini aç";

// A failed control operation: the title of its message box, the message's start, the
// words after the control's name, what could not be done, and the words before the code.
inline constexpr std::string_view kRuntimeErrorTitle = "Vaskelo - Çalışma zamanı hatası";
inline constexpr std::string_view kRuntimeError = "Çalışma zamanı hatası: ";
inline constexpr std::string_view kInControl = " denetiminde ";
inline constexpr std::string_view kReadTextFailed = "liste metni okunamadı";
inline constexpr std::string_view kSetTextFailed = "liste metni yazılamadı";
inline constexpr std::string_view kSetBackColourFailed = "arka plan rengi ayarlanamadı";
inline constexpr std::string_view kSetCaptionFailed = "etiket metni yazılamadı";
inline constexpr std::string_view kSetFontSizeFailed = "yazı boyutu ayarlanamadı";
inline constexpr std::string_view kSetTopFailed = "üst kenar konumu ayarlanamadı";
inline constexpr std::string_view kErrorCode = " (hata kodu 0x";
// A command stopped by anything else: after the command's name.
inline constexpr std::string_view kCommandOutOfMemory = " komutu için bellek yetmedi; komut yarıda kaldı.";
inline constexpr std::string_view kCommandFailed = " komutu beklenmeyen bir hatayla yarıda kaldı.";

// The window could not open.
inline constexpr std::string_view kStartFailure = "Vaskelo açılamadı: beklenmeyen bir hata oluştu.";
// Around a control's name, and after a menu item's quoted name.
inline constexpr std::string_view kMissingControlBefore = "Pencerede '";
inline constexpr std::string_view kMissingControlAfter = "' denetimi bulunamadı.";
inline constexpr std::string_view kMenuNumberUnusable = "' menü öğesinin numarası kullanılamıyor.";
// After the name of the toolkit's call that failed, then what could not be done.
inline constexpr std::string_view kCallFailed = " başarısız oldu: ";
inline constexpr std::string_view kNoPictureBoxClass = "resim kutusu sınıfı kaydedilemedi.";
inline constexpr std::string_view kNoCursor = "fare imleci yüklenemedi.";
inline constexpr std::string_view kNoWindowClass = "pencere sınıfı kaydedilemedi.";
inline constexpr std::string_view kNoMenuBar = "menü çubuğu oluşturulamadı.";
inline constexpr std::string_view kNoFrame = "pencerenin çerçevesi hesaplanamadı.";
inline constexpr std::string_view kNoMainWindow = "ana pencere oluşturulamadı.";
inline constexpr std::string_view kNoWindowFont = "pencerenin yazı tipi oluşturulamadı.";
inline constexpr std::string_view kNoWindowSize = "pencerenin boyutu ayarlanamadı.";
inline constexpr std::string_view kNoUtf16 = "metin UTF-16'ya çevrilemedi.";
inline constexpr std::string_view kNoUtf8 = "metin UTF-8'e çevrilemedi.";
// After a menu's quoted caption.
inline constexpr std::string_view kNoMenu = " menüsü oluşturulamadı.";
// After a control's quoted name.
inline constexpr std::string_view kNoControl = " denetimi oluşturulamadı.";
inline constexpr std::string_view kNoControlFont = " denetiminin yazı tipi oluşturulamadı.";
inline constexpr std::string_view kNoControlPlace = " denetimi yerleştirilemedi.";
inline constexpr std::string_view kNoScreenReaderTexts = " denetiminin ekran okuyucu metinleri ayarlanamadı.";
inline constexpr std::string_view kNoPictureBoxName = " resim kutusunun adı yazılamadı.";
inline constexpr std::string_view kNoPictureBoxPlace = " resim kutusu yerleştirilemedi.";
inline constexpr std::string_view kNoListEntry = " listesine girdi eklenemedi.";
inline constexpr std::string_view kNoListText = " listesinin metni yazılamadı.";
inline constexpr std::string_view kNoListRowHeight = " listesinin satır yüksekliği okunamadı.";
inline constexpr std::string_view kNoLabelFit = " etiketi metnine göre boyutlandırılamadı.";
// Between a label's quoted name and its list's, then after the list's.
inline constexpr std::string_view kLabelOf = " etiketi ";
inline constexpr std::string_view kNoLabelOrder = " denetiminin önüne alınamadı.";

// On the desktop, without a screen to open on: with the Wayland session's name or the
// X display's (%s), and in English too, as it goes to a terminal.
inline constexpr char kNoDisplay[] =
    "Vaskelo bir grafik ekranda çalışır, ama hiçbir ekran bulunamadı (DISPLAY ya da WAYLAND_DISPLAY "
    "ayarlı değil).\nVaskelo needs a graphical display; none was found.\n";
inline constexpr char kNoWaylandPlugin[] =
    "Vaskelo bir grafik ekranda çalışır, ama bu Wayland oturumunu (%s) açacak Qt eklentisi kurulu "
    "değil: qt6-wayland paketini kurun.\n"
    "Vaskelo needs a graphical display; this is a Wayland session (%s), but Qt's Wayland plugin "
    "is not installed: install the qt6-wayland package.\n";
inline constexpr char kNoConnection[] =
    "Vaskelo bir grafik ekranda çalışır, ama %s ekranına bağlanamadı.\n"
    "Vaskelo needs a graphical display; it could not connect to %s.\n";

// In the page, once the window has ended, and the way to start it again.
inline constexpr std::string_view kEnded = "Vaskelo kapandı.";
inline constexpr std::string_view kStartAgain = "Vaskelo'yu yeniden başlat";

}  // namespace vaskelo::texts
