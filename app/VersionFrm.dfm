object VersionForm: TVersionForm
  Left = 478
  Top = 248
  BorderStyle = bsDialog
  Caption = 'バージョン情報'
  ClientHeight = 187
  ClientWidth = 338
  Color = clBtnFace
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'ＭＳ Ｐゴシック'
  Font.Style = []
  HorzScrollBar.Visible = False
  VertScrollBar.Visible = False
  KeyPreview = True
  OldCreateOrder = False
  Position = poMainFormCenter
  Scaled = False
  OnCreate = FormCreate
  OnKeyPress = FormKeyPress
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 12
  object Label3: TLabel
    Left = 50
    Top = 11
    Width = 181
    Height = 19
    Caption = 'Vexelo 0.15'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWindowText
    Font.Height = -19
    Font.Name = 'ＭＳ 明朝'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object URLLabel: TLabel
    Left = 8
    Top = 84
    Width = 182
    Height = 16
    Caption = 'https://www.vexelo.org/'
    Font.Charset = ANSI_CHARSET
    Font.Color = clBlue
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsUnderline]
    ParentFont = False
    ParentShowHint = False
    ShowHint = True
    OnClick = URLLabelClick
  end
  object Label7: TLabel
    Left = 8
    Top = 44
    Width = 115
    Height = 12
    Caption = '(C) 2024-2026'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Arial'
    Font.Style = []
    ParentFont = False
  end
  object Label8: TLabel
    Left = 136
    Top = 44
    Width = 45
    Height = 11
    Caption = 'Vexelo Project'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = []
    ParentFont = False
  end
  object Label9: TLabel
    Left = 8
    Top = 68
    Width = 60
    Height = 14
    Caption = 'ホームページ'
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = []
    ParentFont = False
  end
  object Label10: TLabel
    Left = 8
    Top = 108
    Width = 118
    Height = 12
    Caption = 'Vexeloムページ'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Arial'
    Font.Style = []
    ParentFont = False
  end
  object Label11: TLabel
    Left = 8
    Top = 120
    Width = 265
    Height = 16
    Caption = 'https://www.vexelo.org/magnifier/'
    Font.Charset = ANSI_CHARSET
    Font.Color = clBlue
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsUnderline]
    ParentFont = False
    ParentShowHint = False
    ShowHint = True
    OnClick = URLLabelClick
  end
  object Shape1: TShape
    Left = 4
    Top = 149
    Width = 449
    Height = 1
  end
  object Image2: TImage
    Left = 8
    Top = 6
    Width = 32
    Height = 32
    AutoSize = True
    Picture.Icon = MAINICON
    Transparent = True
  end
  object OKButton: TButton
    Left = 255
    Top = 156
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 0
  end
end
