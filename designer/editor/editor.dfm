object mainform: Tmainform
  Left = 192
  Top = 107
  ActiveControl = edit
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Text editor'
  ClientHeight = 348
  ClientWidth = 536
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnActivate = FormActivate
  PixelsPerInch = 96
  TextHeight = 13
  object edit: TMemo
    Left = 0
    Top = 0
    Width = 432
    Height = 348
    Align = alClient
    ScrollBars = ssBoth
    TabOrder = 0
    WantTabs = True
  end
  object Panel1: TPanel
    Left = 432
    Top = 0
    Width = 104
    Height = 348
    Align = alRight
    Caption = ''
    TabOrder = 1
    object BitBtn1: TBitBtn
      Left = 16
      Top = 8
      Width = 75
      Height = 25
      TabOrder = 0
      Kind = bkOK
    end
    object BitBtn2: TBitBtn
      Left = 16
      Top = 40
      Width = 75
      Height = 25
      TabOrder = 1
      Kind = bkCancel
    end
  end
end
