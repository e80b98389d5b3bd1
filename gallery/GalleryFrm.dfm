object GalleryForm: TGalleryForm
  Left = 100
  Top = 100
  BorderIcons = [biSystemMenu, biMinimize]
  Caption = 'Vexelo Gallery'
  ClientHeight = 200
  ClientWidth = 420
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poDesigned
  object IntegerLabel: TLabel
    Left = 12
    Top = 16
    Width = 150
    Height = 13
    Caption = 'Integer, with separators'
  end
  object IntegerEdit: TBaseEdit
    Left = 200
    Top = 12
    Width = 200
    Height = 21
    KeyFilter = Number
    DataType = Integer
    UseComma = True
    TabOrder = 0
  end
  object RealLabel: TLabel
    Left = 12
    Top = 52
    Width = 150
    Height = 13
    Caption = 'Real, format %.3Lf'
  end
  object RealEdit: TBaseEdit
    Left = 200
    Top = 48
    Width = 200
    Height = 21
    KeyFilter = RealNumber
    DataType = Real
    FormatStr = '%.3Lf'
    TabOrder = 1
  end
  object MailLabel: TLabel
    Left = 12
    Top = 88
    Width = 150
    Height = 13
    Caption = 'Mail address'
  end
  object MailEdit: TBaseEdit
    Left = 200
    Top = 84
    Width = 200
    Height = 21
    KeyFilter = Mail
    TabOrder = 2
  end
  object ReadOnlyLabel: TLabel
    Left = 12
    Top = 124
    Width = 150
    Height = 13
    Caption = 'Read-only'
  end
  object ReadOnlyEdit: TBaseEdit
    Left = 200
    Top = 120
    Width = 200
    Height = 21
    DataType = Integer
    ReadOnly = True
    Text = '12a'
    TabOrder = 3
  end
end
