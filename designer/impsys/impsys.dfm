object imptxtsys: Timptxtsys
  Left = 192
  Top = 107
  BorderIcons = [biSystemMenu]
  BorderStyle = bsToolWindow
  Caption = 'Report information'
  ClientHeight = 275
  ClientWidth = 353
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnActivate = FormActivate
  PixelsPerInch = 96
  TextHeight = 13
  object RadioGroup1: TRadioGroup
    Left = 0
    Top = 0
    Width = 265
    Height = 275
    Align = alLeft
    Caption = ''
    Items.Strings = (
      'Page number'
      'Date'
      'Time'
      'Date - Time'
      'Detail count'
      'Detail number'
      'Report title')
    TabOrder = 0
  end
  object BitBtn1: TBitBtn
    Left = 272
    Top = 8
    Width = 75
    Height = 25
    TabOrder = 1
    OnClick = BitBtn1Click
    Kind = bkOK
  end
  object BitBtn2: TBitBtn
    Left = 272
    Top = 40
    Width = 75
    Height = 25
    TabOrder = 2
    Kind = bkCancel
  end
end
