#include "DesignerHost.h"
#include "dialogs/Dialogs.h"

#include <QDir>
#include <QUuid>

THost::THost()
{
    Form = New<TForm>(Application);
    Form->SetBounds(0, 0, 544, 375);
    ButtonBar = New<TPanel>(Form);
    ButtonBar->SetParent(Form);
    ButtonBar->SetAlign(alTop);
    ButtonBar->SetHeight(30);
    Vornak = New<TVornak>(Form);
    Vornak->SetParent(Form);
    Vornak->SetTop(30);
    Vornak->SetBase(ButtonBar);
}

THost::~THost() { Free(Form); }

void THost::Resize(int width, int height)
{
    Vornak->SetBounds(Vornak->Left(), Vornak->Top(), width, height);
    Vornak->res(Form);
}

TQuickRep* THost::NewReport()
{
    Vornak->NewReport();
    TQuickRep* report = Vornak->Report();
    report->Bands()->SetHasTitle(true);
    report->Bands()->SetHasDetail(true);
    return report;
}

TQRCustomBand* THost::Band(TQRBandType type) const { return Vornak->Report()->FirstBandOfType(type); }

TControl* THost::Place(TClass cls, TQRBandType type) { return Band(type)->AddPrintable(cls); }

void THost::Click(TControl* control)
{
    control->MouseDown(mbLeft, {}, 2, 2);
    control->MouseUp(mbLeft, {}, 2, 2);
}

void THost::RecordEvents()
{
    // every event comes from the control itself
    auto record = [this](const char* name) {
        return TNotifyEvent([this, name](TObject* sender) {
            Events << (sender == Vornak ? QString::fromLatin1(name) : QStringLiteral("%1 from elsewhere").arg(name));
        });
    };
    Vornak->OnNewReport = record("new");
    Vornak->OnOpenReport = record("open");
    Vornak->OnCloseReport = record("close");
    Vornak->OnSaveReport = record("save");
    Vornak->OnSelectComponent = record("select");
}

TModalLog::TModalLog(int result, QString fileName)
    : FileName(std::move(fileName)),
      Scope([this, result](TModalRequest& request) {
          Requests.push_back(request);
          Subjects << (request.Subject ? request.Subject->ClassName() : QString());
          if (auto* dialog = dynamic_cast<TOpenDialog*>(request.Subject)) {
              FileDialogs << QStringList({dialog->Filter, dialog->DefaultExt, dialog->Owner()->ClassName()}).join(';');
              if (!FileName.isEmpty()) {
                  dialog->FileName = FileName;
                  return int(mrOk);
              }
          }
          return result;
      })
{
    Modal::ClearMessages();
}

QString ScratchPath(const QString& name)
{
    const QString dir = qEnvironmentVariable("VK_BUILD_DIR", QDir::tempPath()) + QStringLiteral("/scratch/") +
                        QUuid::createUuid().toString(QUuid::WithoutBraces);
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + name;
}
