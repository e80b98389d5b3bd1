object GalleryForm: TGalleryForm
  Left = 100
  Top = 100
  BorderIcons = [biSystemMenu, biMinimize]
  Caption = 'Vexelo Gallery'
  ClientHeight = 370
  ClientWidth = 420
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poDesigned
  OnCreate = FormCreate
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
  object DefaultButton: TCuteButton
    Left = 12
    Top = 164
    Caption = '&OK'
    Default = True
    TabOrder = 4
    OnClick = ButtonClick
  end
  object CancelButton: TCuteButton
    Left = 96
    Top = 164
    Caption = 'Cancel'
    Cancel = True
    TabOrder = 5
    OnClick = ButtonClick
  end
  object SpeedButton: TCuteButton
    Left = 180
    Top = 164
    Caption = 'Speed'
    IsSpeedButton = True
    TabOrder = 6
    OnClick = ButtonClick
  end
  object DisabledButton: TCuteButton
    Left = 264
    Top = 164
    Caption = 'Disabled'
    Enabled = False
    UseDisabledColor = True
    DisabledColor = $00C0C0F0
    TabOrder = 7
    OnClick = ButtonClick
  end
  object MenuButton: TCuteButton
    Left = 12
    Top = 204
    Caption = '&Menu'
    DropDownMenu = GalleryMenu
    TabOrder = 8
    OnClick = ButtonClick
  end
  object HoldButton: TCuteButton
    Left = 96
    Top = 204
    Caption = '&Hold me'
    DropDownMenu = GalleryMenu
    DropDownDelay = 500
    TabOrder = 9
    OnClick = ButtonClick
  end
  object FlatButton: TCuteButton
    Left = 180
    Top = 204
    Caption = 'Flat'
    Flat = True
    ShowFocusRect = True
    UseMouseColor = True
    MouseEnterColor = $00F0E0C0
    TabOrder = 10
    OnClick = ButtonClick
  end
  object PictureLeftButton: TCuteButton
    Left = 12
    Top = 248
    Width = 120
    Caption = 'Left'
    TabOrder = 11
    OnClick = ButtonClick
  end
  object PictureCentreButton: TCuteButton
    Left = 144
    Top = 248
    Width = 120
    Caption = 'Centre'
    TabOrder = 12
    OnClick = ButtonClick
  end
  object PictureRightButton: TCuteButton
    Left = 276
    Top = 248
    Width = 120
    Caption = 'Right'
    TabOrder = 13
    OnClick = ButtonClick
  end
  object GlyphButton: TBitBtn2
    Left = 12
    Top = 292
    Width = 120
    Caption = 'Glyph'
    TabOrder = 14
    OnClick = ButtonClick
  end
  object SpeedOneButton: TSpeedButton2
    Left = 144
    Top = 292
    Width = 57
    Height = 25
    Caption = 'One'
    GroupIndex = 1
    Down = True
    OnClick = ButtonClick
  end
  object SpeedTwoButton: TSpeedButton2
    Left = 207
    Top = 292
    Width = 57
    Height = 25
    Caption = 'Two'
    GroupIndex = 1
    OnClick = ButtonClick
  end
  object LongButton: TBorderSpeedButton
    Left = 276
    Top = 292
    Width = 120
    Height = 25
    Caption = 'Long press'
    LongPressTime = 800
    OnLongPress = LongButtonLongPress
  end
  object BorderLabel: TLabel
    Left = 12
    Top = 338
    Caption = 'Bordered edit'
  end
  object BorderEdit: TBorderEdit
    Left = 200
    Top = 332
    Width = 200
    Height = 24
    EditText = 'Hello'
    TabOrder = 14
  end
  object GalleryMenu: TPopupMenu
    object FirstItem: TMenuItem
      Caption = 'First'
      OnClick = MenuItemClick
    end
    object SecondItem: TMenuItem
      Caption = 'Second'
      OnClick = MenuItemClick
    end
  end
end
